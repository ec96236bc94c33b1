#include "core/UserNameIndex.h"

#include "core/AccountRules.h"

UserNameIndex::UserNameIndex(const QList<User_Info>& users)
{
    for (const User_Info& user : users) {
        const QString storedName = user.userName();
        if (!exact.contains(storedName))
            exact.insert(storedName, user.Id);
        Prepared& alike = prepared[AccountRules::preparedName(storedName)];
        if (alike.count++ == 0)
            alike.firstId = user.Id;
    }
}

std::optional<qint64> UserNameIndex::findForLogin(const QString& typed) const
{
    const auto stored = exact.constFind(typed);
    if (stored != exact.constEnd())
        return stored.value();
    const QString key = AccountRules::preparedName(typed);
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
