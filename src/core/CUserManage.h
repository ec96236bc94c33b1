#pragma once

#include "core/UserInfo.h"

#include <QList>
#include <QMap>
#include <QStringList>

// The operator accounts, kept in data/UserConfig.dat (JSON, rewritten whole after each change).
// One process-wide store, GUI thread only.
class CUserManage
{
public:
    // The process-wide store, created on first use (reads the file).
    static CUserManage* instance();
    static QString configFilePath();

    // Separate stores are for tests; the program uses instance().
    CUserManage();

    // Each returns false, with the store as it was, when the change is refused or data/
    // UserConfig.dat cannot be written.
    bool add(User_Info user);
    bool del(qint64 id);
    bool edit(User_Info user, bool save);

    QStringList getUserNames() const;
    User_Info getUserByName(QString name) const;
    User_Info getUserById(qint64 id) const;
    QList<User_Info> getUserList() const;

    // Reloads the store from the file; a missing or unreadable file leaves it empty.
    void readConfig();
    // Writes the store atomically; returns false (and keeps the old file) when that fails.
    bool writeConfig();

private:
    QMap<qint64, User_Info> users;
};
