#pragma once

#include "core/UserInfo.h"

#include <QHash>
#include <QList>
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
    // users in Id order, as CUserManage::getUserList() gives them.
    explicit UserNameIndex(const QList<User_Info>& users);

    // The user a login by typed finds: the stored name equal to typed, else the one user whose
    // prepared name equals typed's. None when typed prepares to nothing or several prepare alike.
    std::optional<qint64> findForLogin(const QString& typed) const;
    // Whether a user other than ownId (any user, when there is none) has a name that prepares as
    // name does.
    bool isTakenBesides(const QString& name, std::optional<qint64> ownId) const;

private:
    struct Prepared
    {
        qint64 firstId = -1;
        int count = 0;
    };

    QHash<QString, qint64> exact;
    QHash<QString, Prepared> prepared;
};
