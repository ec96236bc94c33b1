#include "core/UserBackup.h"

#include "core/AccountRules.h"
#include "core/AtomicFile.h"
#include "core/CUserManage.h"
#include "core/PasswordKey.h"
#include "core/UserInfo.h"
#include "core/UserNameIndex.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

#include <zlib.h>

namespace UserBackup {

namespace {

enum class Read { Ok, Failed, TooLarge };

// The whole file, unless it is larger than maxBytes: then nothing is read.
Read readAll(const QString& path, qint64 maxBytes, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Read::Failed;
    if (file.size() > maxBytes)
        return Read::TooLarge;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? Read::Ok : Read::Failed;
}

QString limitInMebibytes()
{
    return QString::number(MaxDatabaseBytes / (1024 * 1024));
}

// RFC 1950: the method is deflate with a window of at most 32 KiB, and the two header bytes are a
// multiple of 31. Without such a start the size before it means nothing.
bool beginsZlibStream(const QByteArray& stream)
{
    if (stream.size() < 2)
        return false;
    const uint method = uchar(stream.at(0));
    const uint flags = uchar(stream.at(1));
    return (method & 0x0F) == 8 && (method >> 4) <= 7 && ((method << 8) | flags) % 31 == 0;
}

// Inflates exactly expected bytes; a stream that ends early, runs on or is damaged fails. The
// output never grows beyond expected, whatever the stream claims.
bool inflateExactly(const QByteArray& stream, int expected, QByteArray* out)
{
    out->resize(expected);
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    z.avail_in = uInt(stream.size());
    z.next_out = reinterpret_cast<Bytef*>(out->data());
    z.avail_out = uInt(expected);
    int result = inflate(&z, Z_FINISH);
    // All expected bytes are out but the stream has not ended: it holds more than the header says.
    if (result == Z_BUF_ERROR && z.avail_out == 0) {
        Bytef probe;
        z.next_out = &probe;
        z.avail_out = 1;
        result = inflate(&z, Z_FINISH);
        if (result != Z_STREAM_END || z.avail_out == 0)
            result = Z_DATA_ERROR;
    }
    const bool whole = result == Z_STREAM_END && z.total_out == uLong(expected);
    inflateEnd(&z);
    return whole;
}

// A stored password that some typed password can match: the login compares it with the
// transform, upper-case hexadecimal of whole 8-byte blocks, of a password of at most 48 bytes.
bool isLoginTransform(const QString& password)
{
    static const QRegularExpression form(QStringLiteral("^(?:[0-9A-F]{16}){1,6}$"));
    return form.match(password).hasMatch();
}

// Why a login cannot reach this administrator, whose name prepares to prepared; empty when it
// can: typing its name as it reads finds it, and its password is one the login takes. The login
// treats a negative Id as no user, finds a stored name typed exactly before a prepared one, and
// refuses a password that is blank once trimmed.
QString loginRefusal(const User_Info& admin, const QString& prepared, const UserNameIndex& names)
{
    if (admin.Id < 0)
        return QCoreApplication::translate("UserBackup", "登录时用这个名称找不到该管理员");
    const QString name = admin.userName();
    if (prepared.isEmpty())
        return AccountRules::nameRefusal(AccountRules::Verdict::Empty);
    if (QChar::isMark(prepared.toUcs4().constFirst()))
        return QCoreApplication::translate("UserBackup", "名称以组合符号开头，登录时无法照原样输入");
    // What preparing leaves must be typed as it reads; its length is the store's business.
    if (AccountRules::checkNewName(prepared) == AccountRules::Verdict::NotPrintable)
        return AccountRules::nameRefusal(AccountRules::Verdict::NotPrintable);
    if (names.findPreparedForLogin(prepared) != admin.Id)
        return QCoreApplication::translate("UserBackup", "登录时用这个名称找不到该管理员");
    if (!isLoginTransform(admin.passWord()))
        return QCoreApplication::translate("UserBackup", "密码不是登录能比对的密码变换");
    if (passwordOfTransform(name, admin.passWord()).trimmed().isEmpty())
        return QCoreApplication::translate("UserBackup", "密码去掉首尾空白后为空，登录时无法输入");
    return QString();
}

// Empty when some administrator can log in; otherwise why not, naming the first one refused.
QString administratorRefusal(const CUserManage& users)
{
    // One index for all: a lookup per administrator in a list of them all would cost the square.
    // Each name is prepared once, for the index and the check alike.
    const QMap<qint64, User_Info>& byId = users.usersById();
    QStringList preparedNames;
    preparedNames.reserve(byId.size());
    for (const User_Info& user : byId)
        preparedNames << AccountRules::preparedName(user.userName());
    const UserNameIndex names(byId, preparedNames);
    QString first;
    auto prepared = preparedNames.cbegin();
    for (const User_Info& user : byId) {
        const QString& preparedName = *prepared++;
        if (user.Group != 0)
            continue;
        const QString why = loginRefusal(user, preparedName, names);
        if (why.isEmpty())
            return QString();
        if (first.isEmpty())
            first = QCoreApplication::translate("UserBackup", "管理员“%1”（Id %2）：%3")
                        .arg(AccountRules::shownName(user.userName()), QString::number(user.Id), why);
    }
    const QString none = QCoreApplication::translate("UserBackup", "备份中没有名称可见、能够登录的管理员");
    return first.isEmpty() ? none : none + QLatin1Char('\n') + first;
}

} // namespace

qint64 maxBackupBytes()
{
    return 4 + qint64(compressBound(uLong(MaxDatabaseBytes)));
}

QByteArray pack(const QByteArray& database)
{
    return qCompress(database);
}

Unpacked unpack(const QByteArray& backup, QByteArray* database)
{
    if (backup.size() < 4)
        return Unpacked::Damaged;
    const QByteArray stream = backup.mid(4);
    if (!beginsZlibStream(stream))
        return Unpacked::Damaged;
    const quint32 size = qFromBigEndian<quint32>(backup.constData());
    if (size > quint32(MaxDatabaseBytes))
        return Unpacked::TooLarge;
    return inflateExactly(stream, int(size), database) ? Unpacked::Ok : Unpacked::Damaged;
}

bool exportDatabase(const QString& target, QString* reason)
{
    QByteArray database;
    const QString source = CUserManage::configFilePath();
    switch (readAll(source, MaxDatabaseBytes, &database)) {
    case Read::Ok:
        break;
    case Read::Failed:
        return false;
    case Read::TooLarge:
        qWarning().noquote() << QStringLiteral("用户数据过大，不能导出：") << QFileInfo(source).size();
        if (reason)
            *reason = QCoreApplication::translate("UserBackup", "用户数据超过备份能容纳的 %1 MiB")
                          .arg(limitInMebibytes());
        return false;
    }
    const QByteArray backup = pack(database);
    qDebug().noquote() << QStringLiteral("压缩前文件大小:") << database.size();
    qDebug().noquote() << QStringLiteral("压缩后字节大小:") << backup.size();
    return writeFileAtomically(target, backup, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool importDatabase(const QString& source, CUserManage* store, QString* reason)
{
    const auto refuse = [&source, reason](const QString& why) {
        qWarning().noquote() << QStringLiteral("备份文件不能导入：") << source << why;
        if (reason)
            *reason = why;
        return false;
    };
    QByteArray backup;
    QByteArray database;
    const Read read = readAll(source, maxBackupBytes(), &backup);
    const Unpacked unpacked = read == Read::Ok ? unpack(backup, &database) : Unpacked::Damaged;
    qDebug().noquote() << QStringLiteral("解压缩前文件大小:") << backup.size();
    qDebug().noquote() << QStringLiteral("解压缩后字节大小:") << database.size();
    if (read == Read::TooLarge || unpacked == Unpacked::TooLarge)
        return refuse(QCoreApplication::translate("UserBackup", "备份过大：导入最多接受 %1 MiB 的用户数据")
                          .arg(limitInMebibytes()));
    if (unpacked != Unpacked::Ok)
        return refuse(QCoreApplication::translate("UserBackup", "备份文件无法读取或已损坏"));
    bool listed = false;
    const QString unusable = administratorRefusal(CUserManage::fromUserList(database, source, &listed));
    if (!listed)
        return refuse(QCoreApplication::translate("UserBackup", "备份中没有用户列表"));
    if (!unusable.isEmpty())
        return refuse(unusable);
    if (!writeFileAtomically(CUserManage::configFilePath(), database,
                             QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return refuse(QCoreApplication::translate("UserBackup", "用户数据文件无法写入"));
    store->readConfig();
    return true;
}

} // namespace UserBackup
