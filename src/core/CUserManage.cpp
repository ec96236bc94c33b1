#include "core/CUserManage.h"
#include "platform/ConfigFiles.h"

#include "core/AtomicFile.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QVariant>

namespace {

const QString userListKey = QStringLiteral("user-list");

QMap<int, bool> rightsFromJson(const QJsonArray& array)
{
    QMap<int, bool> rights;
    for (int i = 0; i < array.size(); ++i)
        rights.insert(i, array.at(i).toBool(false));
    return rights;
}

QJsonArray rightsToJson(const QMap<int, bool>& rights)
{
    QJsonArray array;
    for (bool allowed : rights)
        array.append(allowed);
    return array;
}

// "Id" as the identity: missing or not a number reads as 0. Only whole numbers up to 2^53 in
// size pass: the JSON writer stores numbers as doubles, so a larger Id (or 1e300) would come back
// from the next write as another one.
bool idFromJson(const QJsonValue& value, qint64* id)
{
    constexpr qint64 exactLimit = qint64(1) << 53;
    const QVariant number = value.toVariant();
    if (number.userType() == QMetaType::LongLong) {
        const qint64 whole = number.toLongLong();
        if (whole < -exactLimit || whole > exactLimit)
            return false;
        *id = whole;
        return true;
    }
    const double d = value.toDouble(0);
    // The comparisons are false for NaN as well.
    if (!(d >= -double(exactLimit) && d <= double(exactLimit)))
        return false;
    *id = qint64(d);
    return true;
}

// False when the record cannot be a user (its "Id" out of range).
bool userFromJson(const QJsonObject& object, User_Info* read)
{
    User_Info user;
    if (!idFromJson(object.value(QStringLiteral("Id")), &user.Id))
        return false;
    user.Group = object.value(QStringLiteral("Group")).toInt(0);
    user.setUserName(object.value(QStringLiteral("UserName")).toString());
    user.setPassWord(object.value(QStringLiteral("PassWord")).toString());
    user.setDescription(object.value(QStringLiteral("Description")).toString());
    user.inputRights = rightsFromJson(object.value(QStringLiteral("input-rights")).toArray());
    user.outputRights = rightsFromJson(object.value(QStringLiteral("output-rights")).toArray());
    *read = user;
    return true;
}

QJsonObject userToJson(const User_Info& user)
{
    QJsonObject object;
    object.insert(QStringLiteral("Id"), user.Id);
    object.insert(QStringLiteral("Group"), user.Group);
    object.insert(QStringLiteral("UserName"), user.userName());
    object.insert(QStringLiteral("PassWord"), user.passWord());
    object.insert(QStringLiteral("Description"), user.description());
    object.insert(QStringLiteral("input-rights"), rightsToJson(user.inputRights));
    object.insert(QStringLiteral("output-rights"), rightsToJson(user.outputRights));
    return object;
}

} // namespace

CUserManage::CUserManage()
{
    readConfig();
}

CUserManage* CUserManage::instance()
{
    static CUserManage* store = nullptr;
    static QMutex mutex;
    if (!store) {
        QMutexLocker locker(&mutex);
        if (!store)
            store = new CUserManage;
    }
    return store;
}

QString CUserManage::configFilePath()
{
    return ConfigFiles::userConfig();
}

bool CUserManage::add(User_Info user)
{
    if (getUserNames().contains(user.userName())) {
        qDebug().noquote() << QStringLiteral("添加用户失败：用户名称已经存在！");
        return false;
    }
    if (users.contains(user.Id)) {
        qDebug().noquote() << QStringLiteral("添加用户失败：用户ID已经存在！");
        return false;
    }
    users.insert(user.Id, user);
    if (!writeConfig()) {
        users.remove(user.Id);
        return false;
    }
    return true;
}

bool CUserManage::del(qint64 id)
{
    if (!users.contains(id)) {
        qDebug().noquote() << QStringLiteral("删除用户失败：用户ID不存在！");
        return false;
    }
    const User_Info removed = users.take(id);
    if (!writeConfig()) {
        users.insert(id, removed);
        return false;
    }
    return true;
}

bool CUserManage::edit(User_Info user, bool save)
{
    if (!users.contains(user.Id)) {
        qDebug().noquote() << QStringLiteral("修改用户失败：用户ID不存在！");
        return false;
    }
    const User_Info sameName = getUserByName(user.userName());
    if (sameName.Id >= 0 && sameName.Id != user.Id) {
        qDebug().noquote() << QStringLiteral("修改用户失败：用户名称已存在！");
        return false;
    }
    const User_Info previous = users.value(user.Id);
    users.insert(user.Id, user);
    if (save && !writeConfig()) {
        users.insert(user.Id, previous);
        return false;
    }
    return true;
}

QStringList CUserManage::getUserNames() const
{
    QStringList names;
    for (const User_Info& user : users)
        names << user.userName();
    return names;
}

User_Info CUserManage::getUserByName(QString name) const
{
    for (const User_Info& user : users) {
        if (user.userName() == name)
            return user;
    }
    return User_Info();
}

User_Info CUserManage::getUserById(qint64 id) const
{
    return users.value(id);
}

QList<User_Info> CUserManage::getUserList() const
{
    return users.values();
}

void CUserManage::readConfig()
{
    users.clear();
    QFile file(configFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return;
    // A truncated or foreign file parses as nothing: the store stays empty.
    const QJsonArray list = QJsonDocument::fromJson(file.readAll()).object().value(userListKey).toArray();
    for (const QJsonValue& value : list) {
        // Only objects are users; anything else would read as a nameless administrator.
        if (!value.isObject())
            continue;
        User_Info user;
        if (!userFromJson(value.toObject(), &user)) {
            qWarning() << configFilePath() << ": user with an out-of-range Id skipped";
            continue;
        }
        users.insert(user.Id, user);
    }
}

bool CUserManage::writeConfig()
{
    QJsonArray list;
    for (const User_Info& user : users)
        list.append(userToJson(user));
    // The file holds every password transform: readable by its owner only.
    if (!writeFileAtomically(configFilePath(),
                             QJsonDocument(QJsonObject{{userListKey, list}}).toJson(QJsonDocument::Indented),
                             QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        qWarning().noquote() << QStringLiteral("用户配置数据写入配置文件失败！");
        return false;
    }
    qDebug().noquote() << QStringLiteral("用户配置数据写入配置文件成功！");
    return true;
}
