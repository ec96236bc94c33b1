#pragma once

#include <QByteArray>
#include <QString>

class CUserManage;

// The ".bak" backup of the user database: the bytes of data/UserConfig.dat as they are, packed
// as qCompress does at its default level (the uncompressed size as 4 big-endian bytes, then a
// zlib stream). A backup replaces the database only after it proved to be a usable user list.
// It is read by the rule the store reads its own file with (CUserManage::fromUserList): refused
// only when it holds no user list, or when what the store would make of it leaves no
// administrator who can log in. An administrator can when typing its name as it reads finds it
// (its prepared name is not empty, begins with no combining mark, holds nothing that cannot be
// typed, and the login's lookup of it finds this administrator) and its stored password is a
// transform of a password that is not blank once trimmed.
namespace UserBackup {

// A database larger than this is not one the console wrote: refused before anything is inflated.
constexpr int MaxDatabaseBytes = 16 * 1024 * 1024;

QByteArray pack(const QByteArray& database);
// The database inside a backup; false when the header or the stream is damaged, the stream
// holds more or fewer bytes than the header says, or the size is beyond MaxDatabaseBytes.
bool unpack(const QByteArray& backup, QByteArray* database);

// data/UserConfig.dat packed into target, written atomically.
bool exportDatabase(const QString& target);
// The backup at source checked, written atomically over data/UserConfig.dat (owner-only) and
// loaded into store. False, with nothing changed, when any step fails; reason then tells the
// operator why (which administrator and which rule, when that is the cause).
bool importDatabase(const QString& source, CUserManage* store, QString* reason = nullptr);

} // namespace UserBackup
