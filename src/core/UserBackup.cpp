#include "core/UserBackup.h"

#include "core/AccountRules.h"
#include "core/AtomicFile.h"
#include "core/CUserManage.h"
#include "core/ModelBounds.h"
#include "core/UserInfo.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>

#include <cmath>
#include <zlib.h>

namespace UserBackup {

namespace {

bool readAll(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
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

bool isWholeId(const QJsonValue& value)
{
    if (!value.isDouble())
        return false;
    const double id = value.toDouble();
    return std::isfinite(id) && id >= 0 && id < double(CUserManage::IdLimit) && std::floor(id) == id;
}

bool fitsField(const QString& text)
{
    return text.toUtf8().size() < User_Info::TextSize;
}

// A stored password that some typed password can match: the login compares it with the
// transform, upper-case hexadecimal of whole 8-byte blocks, of a password of at most 48 bytes.
bool isLoginTransform(const QString& password)
{
    static const QRegularExpression form(QStringLiteral("^(?:[0-9A-F]{16}){1,6}$"));
    return form.match(password).hasMatch();
}

bool rightsFit(const QJsonValue& array)
{
    return array.isUndefined() || (array.isArray() && array.toArray().size() <= ModelBounds::MaxPorts);
}

} // namespace

QByteArray pack(const QByteArray& database)
{
    return qCompress(database);
}

bool unpack(const QByteArray& backup, QByteArray* database)
{
    if (backup.size() < 4)
        return false;
    const quint32 size = qFromBigEndian<quint32>(backup.constData());
    if (size > quint32(MaxDatabaseBytes))
        return false;
    return inflateExactly(backup.mid(4), int(size), database);
}

bool isUsableUserList(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonValue list = document.object().value(QStringLiteral("user-list"));
    if (!list.isArray())
        return false;
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]+$"));
    QSet<double> ids;
    QSet<QString> names;
    bool administrator = false;
    for (const QJsonValue& value : list.toArray()) {
        const QJsonObject user = value.toObject();
        if (!value.isObject() || !isWholeId(user.value(QStringLiteral("Id"))))
            return false;
        const double id = user.value(QStringLiteral("Id")).toDouble();
        const QJsonValue group = user.value(QStringLiteral("Group"));
        const QString name = user.value(QStringLiteral("UserName")).toString();
        const QJsonValue password = user.value(QStringLiteral("PassWord"));
        // The rule of names typed on the pages: the store then holds each name as it is (no NUL
        // cuts it, it fits its field), so names that differ here differ there too.
        if (ids.contains(id) || !group.isDouble() || (group.toDouble() != 0 && group.toDouble() != 1)
            || AccountRules::checkNewName(name) != AccountRules::Verdict::Ok
            || names.contains(name) || !password.isString() || !hex.match(password.toString()).hasMatch()
            || !fitsField(password.toString()) || !rightsFit(user.value(QStringLiteral("input-rights")))
            || !rightsFit(user.value(QStringLiteral("output-rights"))))
            return false;
        ids.insert(id);
        names.insert(name);
        administrator = administrator || (group.toDouble() == 0 && isLoginTransform(password.toString()));
    }
    return administrator;
}

bool exportDatabase(const QString& target)
{
    QByteArray database;
    if (!readAll(CUserManage::configFilePath(), &database))
        return false;
    const QByteArray backup = pack(database);
    qDebug().noquote() << QStringLiteral("压缩前文件大小:") << database.size();
    qDebug().noquote() << QStringLiteral("压缩后字节大小:") << backup.size();
    return writeFileAtomically(target, backup, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool importDatabase(const QString& source, CUserManage* store)
{
    QByteArray backup;
    QByteArray database;
    if (!readAll(source, &backup))
        return false;
    const bool unpacked = unpack(backup, &database);
    qDebug().noquote() << QStringLiteral("解压缩前文件大小:") << backup.size();
    qDebug().noquote() << QStringLiteral("解压缩后字节大小:") << database.size();
    if (!unpacked || !isUsableUserList(database)) {
        qWarning().noquote() << QStringLiteral("备份文件不是可用的用户数据：") << source;
        return false;
    }
    if (!writeFileAtomically(CUserManage::configFilePath(), database,
                             QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    store->readConfig();
    return true;
}

} // namespace UserBackup
