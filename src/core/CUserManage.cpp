#include "core/CUserManage.h"
#include "platform/ConfigFiles.h"

#include "core/AccountRules.h"
#include "core/AtomicFile.h"
#include "core/ModelBounds.h"
#include "platform/OwnerOnlyFile.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QVariant>

namespace {

const QString userListKey = QStringLiteral("user-list");

// Entries beyond the largest model's ports mean nothing to any page: only its 160 are kept, so
// that a file with millions of entries neither fills the memory nor every later write.
QMap<int, bool> rightsFromJson(const QJsonArray& array, bool* cut)
{
    QMap<int, bool> rights;
    const int kept = qMin(array.size(), ModelBounds::MaxPorts);
    for (int i = 0; i < kept; ++i)
        rights.insert(i, array.at(i).toBool(false));
    *cut = *cut || kept < array.size();
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
    constexpr qint64 exactLimit = CUserManage::IdLimit;
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

// False when the record cannot be a user (its "Id" out of range). cut is set when a rights array
// was longer than the largest model.
bool userFromJson(const QJsonObject& object, User_Info* read, bool* cut)
{
    User_Info user;
    if (!idFromJson(object.value(QStringLiteral("Id")), &user.Id))
        return false;
    user.Group = object.value(QStringLiteral("Group")).toInt(0);
    user.setUserName(object.value(QStringLiteral("UserName")).toString());
    user.setPassWord(object.value(QStringLiteral("PassWord")).toString());
    user.setDescription(object.value(QStringLiteral("Description")).toString());
    user.inputRights = rightsFromJson(object.value(QStringLiteral("input-rights")).toArray(), cut);
    user.outputRights = rightsFromJson(object.value(QStringLiteral("output-rights")).toArray(), cut);
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
    if (isNameTaken(user.userName())) {
        qDebug().noquote() << QStringLiteral("添加用户失败：用户名称已经存在！");
        return false;
    }
    if (users.contains(user.Id)) {
        qDebug().noquote() << QStringLiteral("添加用户失败：用户ID已经存在！");
        return false;
    }
    if (!isNewIdStorable(user.Id)) {
        qDebug().noquote() << QStringLiteral("添加用户失败：用户ID超出范围！") << user.Id;
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
    const User_Info previous = users.value(user.Id);
    if (user.userName() != previous.userName() && names().isTakenBesides(user.userName(), user.Id)) {
        qDebug().noquote() << QStringLiteral("修改用户失败：用户名称已存在！");
        return false;
    }
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

User_Info CUserManage::findForLogin(const QString& typed) const
{
    const std::optional<qint64> id = names().findForLogin(typed);
    return id ? users.value(*id) : User_Info();
}

bool CUserManage::isNameTaken(const QString& name) const
{
    return names().isTakenBesides(name, std::nullopt);
}

UserNameIndex CUserManage::names() const
{
    return UserNameIndex(users);
}

User_Info CUserManage::getUserById(qint64 id) const
{
    return users.value(id);
}

QList<User_Info> CUserManage::getUserList() const
{
    return users.values();
}

qint64 CUserManage::newId(qint64 clock) const
{
    const qint64 largest = users.isEmpty() ? -1 : users.lastKey();
    const qint64 next = qMax(clock, largest + 1);   // largest is at most 2^53: no overflow
    if (isNewIdStorable(next))
        return next;
    for (qint64 id = qBound(qint64(0), clock, IdLimit); id < IdLimit; ++id) {
        if (!users.contains(id))
            return id;
    }
    return IdLimit;
}

void CUserManage::readConfig()
{
    users.clear();
    QFile file(configFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Every write makes the file owner-only; a file copied in as it was shipped (or by hand) is
    // made so at its first reading, not only at its first change.
    makeOwnerOnly(configFilePath());
    users = fromUserList(file.readAll(), configFilePath()).users;
}

CUserManage CUserManage::fromUserList(const QByteArray& json, const QString& source, bool* listed)
{
    CUserManage store{NoFile()};
    // A truncated or foreign file parses as nothing: the store stays empty.
    const QJsonValue list = QJsonDocument::fromJson(json).object().value(userListKey);
    bool cut = false;
    for (const QJsonValue& value : list.toArray()) {
        // Only objects are users; anything else would read as a nameless administrator.
        if (!value.isObject())
            continue;
        User_Info user;
        if (!userFromJson(value.toObject(), &user, &cut)) {
            qWarning() << source << ": user with an out-of-range Id skipped";
            continue;
        }
        store.users.insert(user.Id, user);
    }
    if (cut)
        qWarning() << source << ": rights beyond port" << ModelBounds::MaxPorts << "ignored";
    if (listed)
        *listed = list.isArray();
    return store;
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
