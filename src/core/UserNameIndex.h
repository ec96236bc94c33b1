#pragma once

#include "core/UserInfo.h"

#include <QHash>
#include <QMap>
#include <QStringList>
#include <QString>
#include <QtGlobal>

#include <optional>

// The users by the names a login finds them by: each stored name with the first user (in Id
// order) who holds it, and each prepared name (AccountRules::preparedName) with how many users
// prepare to it. Every name is prepared once, when the index is built: one index serves any
// number of lookups, so that looking up every user of a store costs about as much as reading it.
class UserNameIndex
{
public:
    // users keyed by Id, as CUserManage::usersById() gives them.
    explicit UserNameIndex(const QMap<qint64, User_Info>& users);
    // The same with the names prepared already, in the users' order: for a caller that needs them
    // too and prepares each name once.
    UserNameIndex(const QMap<qint64, User_Info>& users, const QStringList& preparedNames);

    // The user a login by typed finds: the stored name equal to typed, else the one user whose
    // prepared name equals typed's. None when typed prepares to nothing or several prepare alike.
    std::optional<qint64> findForLogin(const QString& typed) const;
    // The same for a typed text that is prepared already (preparing it again changes nothing).
    std::optional<qint64> findPreparedForLogin(const QString& preparedTyped) const;
    // Whether a user other than ownId (any user, when there is none) has a name that prepares as
    // name does.
    bool isTakenBesides(const QString& name, std::optional<qint64> ownId) const;

private:
    void add(const User_Info& user, const QString& preparedName);
    std::optional<qint64> findExact(const QString& storedName) const;
    std::optional<qint64> findAlike(const QString& preparedName) const;

    struct Prepared
    {
        qint64 firstId = -1;
        int count = 0;
    };

    QHash<QString, qint64> exact;
    QHash<QString, Prepared> prepared;
};
