#pragma once

#include <QByteArray>
#include <QString>

class CUserManage;

// The ".bak" backup of the user database: the bytes of data/UserConfig.dat as they are, packed
// as qCompress does at its default level (the uncompressed size as 4 big-endian bytes, then a
// zlib stream). A backup replaces the database only after it proved to be a usable user list.
namespace UserBackup {

// A database larger than this is not one the console wrote: refused before anything is inflated.
constexpr int MaxDatabaseBytes = 16 * 1024 * 1024;

QByteArray pack(const QByteArray& database);
// The database inside a backup; false when the header or the stream is damaged, the stream
// holds more or fewer bytes than the header says, or the size is beyond MaxDatabaseBytes.
bool unpack(const QByteArray& backup, QByteArray* database);

// A user list the console can run on: for every user a whole "Id" from 0 to below 2^53 (no two
// alike), "Group" 0 or 1, a unique "UserName" that a page would accept as a new name, and a
// hexadecimal "PassWord" that fits its field; rights, when present, are arrays of at most one
// entry per port of the largest model; at least one administrator whose "PassWord" has the form
// of a password transform, so that someone can log in.
bool isUsableUserList(const QByteArray& json);

// data/UserConfig.dat packed into target, written atomically.
bool exportDatabase(const QString& target);
// The backup at source checked, written atomically over data/UserConfig.dat (owner-only) and
// loaded into store. False, with nothing changed, when any step fails.
bool importDatabase(const QString& source, CUserManage* store);

} // namespace UserBackup
