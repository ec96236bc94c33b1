#pragma once

#include "core/UserInfo.h"
#include "core/UserNameIndex.h"

#include <QList>
#include <QMap>
#include <QStringList>

// The operator accounts, kept in data/UserConfig.dat (JSON, rewritten whole after each change).
// One process-wide store, GUI thread only. Names are kept exactly as stored and compared in their
// prepared form (AccountRules::preparedName): no two users the store makes look alike, and the
// login finds a stored name by what it reads as.
class CUserManage
{
public:
    // The process-wide store, created on first use (reads the file).
    static CUserManage* instance();
    static QString configFilePath();

    // The file stores numbers as doubles: a new Id is below this in size, so that it comes back
    // from the file as itself and not as a neighbour's. (A stored file's Id of exactly 2^53, which
    // an earlier build could import, still reads: the double holds it exactly.)
    static constexpr qint64 IdLimit = qint64(1) << 53;
    static constexpr bool isNewIdStorable(qint64 id) { return id > -IdLimit && id < IdLimit; }

    // Separate stores are for tests; the program uses instance().
    CUserManage();

    // Each returns false, with the store as it was, when the change is refused or data/
    // UserConfig.dat cannot be written. add refuses an Id in use or not isNewIdStorable, and a
    // name taken (isNameTaken); edit refuses a rename to a name that prepares as another user's,
    // but never a user's own stored name kept as it is (a store of an earlier release may hold
    // two such names).
    bool add(User_Info user);
    bool del(qint64 id);
    bool edit(User_Info user, bool save);

    QStringList getUserNames() const;
    // Exact: the first user of that stored name in Id order.
    User_Info getUserByName(QString name) const;
    // The user a login by typed finds: the stored name equal to typed (as getUserByName), else the
    // one user whose prepared name equals typed's. The default record (Id -1) when there is none,
    // when several prepare alike, or when typed prepares to nothing.
    User_Info findForLogin(const QString& typed) const;
    // Whether some user's name prepares as name does.
    bool isNameTaken(const QString& name) const;
    User_Info getUserById(qint64 id) const;
    QList<User_Info> getUserList() const;
    // The users keyed by Id, not copied: for a pass over a large store.
    const QMap<qint64, User_Info>& usersById() const { return users; }

    // An Id for a new user: the clock (milliseconds) or one past the largest Id, whichever is
    // larger, so that a new user comes last; when that is not storable, the first free Id from
    // the clock on. IdLimit (which add refuses) only when no Id is free.
    qint64 newId(qint64 clock) const;

    // Reloads the store from the file; a missing or unreadable file leaves it empty.
    void readConfig();
    // A store of the users in the text of a user file, read as readConfig reads its own: the one
    // rule for every such file, an imported backup included (Ids out of range and non-objects
    // skipped, rights cut at the largest model, texts cut to their fields). It touches no file.
    // listed is false when the text holds no "user-list" array; source names it in the log.
    static CUserManage fromUserList(const QByteArray& json, const QString& source, bool* listed = nullptr);
    // Writes the store atomically; returns false (and keeps the old file) when that fails.
    bool writeConfig();

private:
    // The users' names indexed in one pass, afresh for each lookup: no index to keep in step.
    UserNameIndex names() const;

    struct NoFile {};
    explicit CUserManage(NoFile) {}

    QMap<qint64, User_Info> users;
};
