#include "core/UserNameIndex.h"

#include "core/AccountRules.h"

UserNameIndex::UserNameIndex(const QMap<qint64, User_Info>& users)
{
    for (const User_Info& user : users)
        add(user, AccountRules::preparedName(user.userName()));
}

UserNameIndex::UserNameIndex(const QMap<qint64, User_Info>& users, const QStringList& preparedNames)
{
    Q_ASSERT(users.size() == preparedNames.size());
    auto prepared = preparedNames.cbegin();
    for (const User_Info& user : users)
        add(user, *prepared++);
}

void UserNameIndex::add(const User_Info& user, const QString& preparedName)
{
    const QString storedName = user.userName();
    if (!exact.contains(storedName))
        exact.insert(storedName, user.Id);
    Prepared& alike = prepared[preparedName];
    if (alike.count++ == 0)
        alike.firstId = user.Id;
}

std::optional<qint64> UserNameIndex::findForLogin(const QString& typed) const
{
    if (const std::optional<qint64> id = findExact(typed))
        return id;
    return findAlike(AccountRules::preparedName(typed));
}

std::optional<qint64> UserNameIndex::findPreparedForLogin(const QString& preparedTyped) const
{
    if (const std::optional<qint64> id = findExact(preparedTyped))
        return id;
    return findAlike(preparedTyped);
}

std::optional<qint64> UserNameIndex::findExact(const QString& storedName) const
{
    const auto stored = exact.constFind(storedName);
    return stored != exact.constEnd() ? std::optional<qint64>(stored.value()) : std::nullopt;
}

std::optional<qint64> UserNameIndex::findAlike(const QString& key) const
{
    if (key.isEmpty())
        return std::nullopt;
    const auto alike = prepared.constFind(key);
    // Two users alike: guessing one would open the other's account to a mistyped name.
    if (alike == prepared.constEnd() || alike->count != 1)
        return std::nullopt;
    return alike->firstId;
}

bool UserNameIndex::isTakenBesides(const QString& name, std::optional<qint64> ownId) const
{
    const auto alike = prepared.constFind(AccountRules::preparedName(name));
    if (alike == prepared.constEnd())
        return false;
    return alike->count > 1 || !ownId || alike->firstId != *ownId;
}
