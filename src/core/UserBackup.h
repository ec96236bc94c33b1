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

// The largest user database a backup holds, unpacked: 32 MiB, about 4 500 users with all their
// port rights or 120 000 without (the store writes its file indented). The export refuses a larger
// database with its own message, so that every backup it writes imports. It bounds what an import
// holds: a backup file is read only up to maxBackupBytes() and inflated only up to this, and the
// users read from it grow with it (bench_import gives the peak at the limit).
constexpr int MaxDatabaseBytes = 32 * 1024 * 1024;
// The largest backup file: a database of MaxDatabaseBytes packed, whatever its bytes.
qint64 maxBackupBytes();

QByteArray pack(const QByteArray& database);
enum class Unpacked { Ok, Damaged, TooLarge };
// The database inside a backup. Damaged when the header or the stream is damaged or the stream
// holds more or fewer bytes than the header says; TooLarge, before anything is inflated, when a
// zlib stream follows a header that says more than MaxDatabaseBytes.
Unpacked unpack(const QByteArray& backup, QByteArray* database);

// data/UserConfig.dat packed into target, written atomically. False when it cannot be read, is
// larger than MaxDatabaseBytes (reason then says so) or target cannot be written.
bool exportDatabase(const QString& target, QString* reason = nullptr);
// The backup at source checked, written atomically over data/UserConfig.dat (owner-only) and
// loaded into store. False, with nothing changed, when any step fails; reason then tells the
// operator why (which administrator and which rule, when that is the cause).
bool importDatabase(const QString& source, CUserManage* store, QString* reason = nullptr);

} // namespace UserBackup
