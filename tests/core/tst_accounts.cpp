// New names and passwords, the one password-change routine, and the ".bak" backup of the user
// database (format, checks before an import replaces anything).
#include "EarlierAccountNames.h"
#include "FileSizeLimit.h"
#include "TempWorkDir.h"
#include "core/AccountRules.h"
#include "core/CUserManage.h"
#include "core/PasswordChange.h"
#include "core/PasswordKey.h"
#include "core/UserBackup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>
#include <QtTest>

#include <zlib.h>

namespace {

const QString userFile = QStringLiteral("data/UserConfig.dat");
using Result = PasswordChange::Result;
using Verdict = AccountRules::Verdict;

// "987FF27701324BD2" is the transform of Admin's 740261: a password someone can log in with.
QJsonObject userObject(double id, const QString& name, int group, const QString& password = QStringLiteral("987FF27701324BD2"),
                       const QJsonArray& inputRights = {true, false})
{
    return QJsonObject{{"Id", id}, {"Group", group}, {"UserName", name}, {"PassWord", password},
                       {"Description", ""}, {"input-rights", inputRights}, {"output-rights", QJsonArray{}}};
}

QJsonArray rights(int count)
{
    return QJsonArray::fromVariantList(QVector<QVariant>(count, true).toList());
}

QByteArray userList(const QJsonArray& users)
{
    return QJsonDocument(QJsonObject{{"user-list", users}}).toJson();
}

// An administrator, "alice" (password "secret") and "bob", written by the store itself.
void seed(CUserManage& store)
{
    User_Info admin;
    admin.Id = 1;
    admin.Group = 0;
    admin.setUserName(QStringLiteral("Admin"));
    admin.setPassWord(passwordTransform(QStringLiteral("Admin"), QStringLiteral("740261")));
    User_Info alice;
    alice.Id = 2;
    alice.setUserName(QStringLiteral("alice"));
    alice.setPassWord(passwordTransform(QStringLiteral("alice"), QStringLiteral("secret")));
    alice.outputRights = {{0, true}, {1, false}};
    QVERIFY(store.add(admin) && store.add(alice));
}

// Shown as nothing: "Admin" followed by one of them looks like "Admin". All but the Braille blank
// are default ignorable, which comparing names drops.
const uint invisibles[] = {0x034F, 0xFE0F, 0xFE00, 0xE0100, 0x3164, 0x115F, 0xFFA0, 0x180B, 0x17B4, 0x2800};
const uint brailleBlank = 0x2800;

// Names with a joiner where it changes the drawing: Alireza in Persian, woman + laptop.
const QString persian = QStringLiteral(u"\u0639\u0644\u06CC\u200C\u0631\u0636\u0627");
const QString emojiSequence = QStringLiteral(u"dev\U0001F469\u200D\U0001F4BB");

// Every field of every user, to compare stores.
QStringList dump(const CUserManage& store)
{
    QStringList users;
    for (const User_Info& u : store.getUserList()) {
        users.append(QString());
        QDebug(&users.last()) << u.Id << u.Group << u.userName() << u.passWord() << u.description() << u.inputRights
                              << u.outputRights;
    }
    return users;
}

QByteArray withHeader(quint32 size, const QByteArray& stream)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(size, bytes.data());
    return bytes + stream;
}

} // namespace

Q_DECLARE_METATYPE(AccountRules::Verdict)
Q_DECLARE_METATYPE(PasswordChange::Result)

class TestAccounts : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(work.renew()); }
    void cleanup() { work.drop(); }

    void newTexts_data();
    void newTexts();
    void passwordChange_data();
    void passwordChange();
    void passwordChangeNotWritten();
    void backupFormat();
    void exportImportRoundTrip();
    void storeBeyondTheEarlierLimitRoundTrips();
    void sizesBeyondTheLimitAreRefused();
    void importRefusesUnusableBackups_data();
    void importRefusesUnusableBackups();
    void importReadsAsTheStore_data();
    void importReadsAsTheStore();
    void importAcceptsTheLimits();
    void importFindsTheAdministrator_data();
    void importFindsTheAdministrator();

private:
    PerTestWorkDir work;
};

void TestAccounts::newTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Verdict>("asName");
    QTest::addColumn<Verdict>("asPassword");
    QTest::newRow("plain") << "operator1" << Verdict::Ok << Verdict::Ok;
    QTest::newRow("empty") << "" << Verdict::Empty << Verdict::Empty;
    QTest::newRow("Latin-1 letters") << "Zoë Müller" << Verdict::Ok << Verdict::Ok;
    // Both become "??" before DES: they would be one password. A name may be of any script.
    QTest::newRow("Chinese") << "操作员1" << Verdict::Ok << Verdict::NotLatin1;
    QTest::newRow("beyond the first plane") << "𠀋😀" << Verdict::Ok << Verdict::NotLatin1;
    QTest::newRow("euro sign") << "pay€" << Verdict::Ok << Verdict::NotLatin1;
    QTest::newRow("tab") << "a\tb" << Verdict::NotPrintable << Verdict::NotLatin1;
    QTest::newRow("NUL") << QString("Ad") + QChar(0) + "min" << Verdict::NotPrintable << Verdict::NotLatin1;
    QTest::newRow("C1 control") << QString("a") + QChar(0x85) + "b" << Verdict::NotPrintable << Verdict::NotLatin1;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "a" << Verdict::NotPrintable << Verdict::NotLatin1;
    QTest::newRow("blank at either end") << " Admin " << Verdict::NotPrintable << Verdict::Ok;
    QTest::newRow("ideographic space at the end") << QString("操作员") + QChar(0x3000) << Verdict::NotPrintable << Verdict::NotLatin1;
    // Invisible: the name would look like another one.
    for (const ushort invisible : {0x200B, 0x00AD, 0x202E, 0x2028, 0x2029, 0xFFFF, 0xFDD0, 0x200C})
        QTest::addRow("U+%04X inside", invisible) << QString("Ad") + QChar(invisible) + "min" << Verdict::NotPrintable
                                                  << Verdict::NotLatin1;
    for (const uint invisible : invisibles)
        QTest::addRow("Admin U+%04X", invisible) << "Admin" + QString::fromUcs4(&invisible, 1) << Verdict::NotPrintable << Verdict::NotLatin1;
    // The joiners where they change the drawing.
    QTest::newRow("non-joiner in Persian") << persian << Verdict::Ok << Verdict::NotLatin1;
    QTest::newRow("joiner after a virama") << QStringLiteral(u"\u0915\u094D\u200D\u0937") << Verdict::Ok << Verdict::NotLatin1;
    QTest::newRow("joiner between emoji") << emojiSequence << Verdict::Ok << Verdict::NotLatin1;
    // Unknown to Qt's tables (a later emoji, a future letter) is no reason to refuse.
    QTest::newRow("U+1FAE0") << QStringLiteral(u"melt\U0001FAE0") << Verdict::Ok << Verdict::NotLatin1;
    QTest::newRow("U+0378") << QStringLiteral(u"Ad\u0378min") << Verdict::Ok << Verdict::NotLatin1;
    QTest::newRow("48 characters") << QString(48, 'p') << Verdict::Ok << Verdict::Ok;
    QTest::newRow("49 characters") << QString(49, 'p') << Verdict::Ok << Verdict::TooLong;
    QTest::newRow("99 bytes") << QString(99, 'n') << Verdict::Ok << Verdict::TooLong;
    QTest::newRow("100 bytes") << QString(100, 'n') << Verdict::TooLong << Verdict::TooLong;
    QTest::newRow("50 two-byte letters") << QString(50, QChar(0xE9)) << Verdict::TooLong << Verdict::TooLong;
}

void TestAccounts::newTexts()
{
    QFETCH(QString, text);
    QFETCH(Verdict, asName);
    QFETCH(Verdict, asPassword);
    QCOMPARE(AccountRules::checkNewName(text), asName);
    QCOMPARE(AccountRules::checkNewPassword(text), asPassword);
    QCOMPARE(AccountRules::nameRefusal(asName).isEmpty(), asName == Verdict::Ok);
    // What a refused password would have been stored as does not fit the 100-byte field, or
    // would equal the transform of another text.
    if (asPassword == Verdict::Ok)
        QVERIFY(passwordTransform(QStringLiteral("alice"), text).size() <= 99);
}

void TestAccounts::passwordChange_data()
{
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<bool>("withOld");
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<Result>("result");

    QTest::newRow("own, old right") << qint64(2) << "fresh" << true << "secret" << Result::Changed;
    QTest::newRow("own, old with blanks") << qint64(2) << " fresh " << true << " secret " << Result::Changed;
    QTest::newRow("own, old wrong") << qint64(2) << "fresh" << true << "Secret" << Result::WrongOldPassword;
    QTest::newRow("own, old empty") << qint64(2) << "fresh" << true << "  " << Result::EmptyPassword;
    QTest::newRow("set by administrator") << qint64(2) << "fresh" << false << "" << Result::Changed;
    QTest::newRow("new empty") << qint64(2) << "   " << false << "" << Result::EmptyPassword;
    QTest::newRow("unknown user") << qint64(9) << "fresh" << false << "" << Result::NoSuchUser;
    QTest::newRow("48 characters") << qint64(2) << QString(48, 'x') << false << "" << Result::Changed;
    QTest::newRow("49 characters") << qint64(2) << QString(49, 'x') << false << "" << Result::PasswordTooLong;
    QTest::newRow("Chinese") << qint64(2) << "你好" << false << "" << Result::PasswordNotLatin1;
    QTest::newRow("administrator's own") << qint64(1) << "n3w-Admin" << false << "" << Result::Changed;
}

void TestAccounts::passwordChange()
{
    QFETCH(qint64, id);
    QFETCH(QString, newPassword);
    QFETCH(bool, withOld);
    QFETCH(QString, oldPassword);
    QFETCH(Result, result);

    CUserManage store;
    seed(store);
    const QByteArray before = work->read(userFile);
    const QString name = store.getUserById(id).userName();
    const QString oldTransform = store.getUserById(id).passWord();

    PasswordChange change(&store);
    QCOMPARE(change.change(id, newPassword, withOld ? std::optional<QString>(oldPassword) : std::nullopt), result);
    QVERIFY(!PasswordChange::message(result).isEmpty());
    if (result == Result::Changed) {
        const QString expected = passwordTransform(name, newPassword.trimmed());
        QCOMPARE(change.newTransform(), expected);
        // Stored at once: a fresh store reads it from the file.
        QCOMPARE(CUserManage().getUserById(id).passWord(), expected);
        QCOMPARE(CUserManage().getUserById(id).outputRights, store.getUserById(id).outputRights);
    } else {
        QCOMPARE(store.getUserById(id).passWord(), oldTransform);
        QCOMPARE(work->read(userFile), before);
    }
}

void TestAccounts::passwordChangeNotWritten()
{
    CUserManage store;
    seed(store);
    const QByteArray before = work->read(userFile);
    FileSizeLimit limit(before.size() / 2);
    QVERIFY(limit.isActive());
    QCOMPARE(PasswordChange(&store).change(2, QStringLiteral("fresh"), QStringLiteral("secret")), Result::StoreRefused);
    QCOMPARE(store.getUserById(2).passWord(), passwordTransform(QStringLiteral("alice"), QStringLiteral("secret")));
    QCOMPARE(work->read(userFile), before);
}

void TestAccounts::backupFormat()
{
    const QByteArray database = userList({userObject(1, "Admin", 0), userObject(2, "张三", 1)});
    const QByteArray backup = UserBackup::pack(database);
    QCOMPARE(qFromBigEndian<quint32>(backup.constData()), quint32(database.size()));
    // The rest is a plain zlib stream of the database.
    QByteArray inflated(database.size(), '\0');
    uLongf length = uLongf(inflated.size());
    QCOMPARE(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &length,
                        reinterpret_cast<const Bytef*>(backup.constData() + 4), uLong(backup.size() - 4)),
             Z_OK);
    QCOMPARE(inflated, database);
    QByteArray unpacked;
    QCOMPARE(UserBackup::unpack(backup, &unpacked), UserBackup::Unpacked::Ok);
    QCOMPARE(unpacked, database);
}

void TestAccounts::exportImportRoundTrip()
{
    CUserManage store;
    seed(store);
    const QByteArray original = work->read(userFile);
    QVERIFY(UserBackup::exportDatabase(work->filePath("users.bak")));
    QVERIFY(!(QFile::permissions(work->filePath("users.bak")) & QFileDevice::ReadOther));

    QVERIFY(store.del(2));
    QVERIFY(UserBackup::importDatabase(work->filePath("users.bak"), &store));
    QCOMPARE(work->read(userFile), original);
    QCOMPARE(store.getUserNames(), (QStringList{"Admin", "alice"}));
    QVERIFY(!(QFile::permissions(work->filePath(userFile)) & QFileDevice::ReadOther));
}

// The store as the rights page leaves it for 2 400 users (all 160 + 160 rights each), written by
// the store itself: more than 16 MiB. Its export imports, and the file is as it was.
void TestAccounts::storeBeyondTheEarlierLimitRoundTrips()
{
    QJsonArray users{userObject(1, "Admin", 0)};
    for (int id = 10; id < 10 + 2400; ++id) {
        QJsonObject user = userObject(id, QStringLiteral("operator%1").arg(id), 1, passwordTransform("op", "secret"));
        user.insert("input-rights", rights(160));
        user.insert("output-rights", rights(160));
        users.append(user);
    }
    CUserManage store = CUserManage::fromUserList(userList(users), QStringLiteral("test"));
    QVERIFY(store.writeConfig());
    const QByteArray original = work->read(userFile);
    QVERIFY2(original.size() > 16 * 1024 * 1024, qPrintable(QString::number(original.size())));

    QString reason;
    QVERIFY2(UserBackup::exportDatabase(work->filePath("users.bak"), &reason), qPrintable(reason));
    QVERIFY(store.del(10));
    QVERIFY2(UserBackup::importDatabase(work->filePath("users.bak"), &store, &reason), qPrintable(reason));
    QVERIFY(work->read(userFile) == original);
    QCOMPARE(store.getUserList().size(), 2401);
}

// A store beyond what a backup holds is not exported; a backup file larger than any packed
// database at the limit is refused unread. Neither is "damaged", and nothing changes.
void TestAccounts::sizesBeyondTheLimitAreRefused()
{
    CUserManage store;
    seed(store);
    const QByteArray before = work->read(userFile);
    QFile backup(work->filePath("huge.bak"));
    QVERIFY(backup.open(QIODevice::WriteOnly) && backup.resize(UserBackup::maxBackupBytes() + 1));   // sparse
    backup.close();
    QString reason;
    QVERIFY(!UserBackup::importDatabase(backup.fileName(), &store, &reason));
    QCOMPARE(reason, QStringLiteral("备份过大：导入最多接受 32 MiB 的用户数据"));
    QCOMPARE(work->read(userFile), before);

    QVERIFY(QFile::resize(work->filePath(userFile), UserBackup::MaxDatabaseBytes + 1));
    QVERIFY(!UserBackup::exportDatabase(work->filePath("users.bak"), &reason));
    QCOMPARE(reason, QStringLiteral("用户数据超过备份能容纳的 32 MiB"));
    QVERIFY(!QFile::exists(work->filePath("users.bak")));
}

void TestAccounts::importRefusesUnusableBackups_data()
{
    QTest::addColumn<QByteArray>("backup");
    QTest::addColumn<QString>("why");   // part of the reason given
    const QJsonObject admin = userObject(1, "Admin", 0);
    const QByteArray good = qCompress(userList({admin}));
    const QString damaged = QStringLiteral("损坏");
    const QString noAdministrator = QStringLiteral("没有名称可见、能够登录的管理员");
    QTest::newRow("not compressed") << userList({admin}) << damaged;
    QTest::newRow("too short") << QByteArray("\x00\x00", 2) << damaged;
    QTest::newRow("stream cut") << good.left(good.size() - 6) << damaged;
    QTest::newRow("header says more") << withHeader(quint32(userList({admin}).size() + 1), good.mid(4)) << damaged;
    QTest::newRow("header says less") << withHeader(quint32(userList({admin}).size() - 1), good.mid(4)) << damaged;
    const QString tooLarge = QStringLiteral("备份过大：导入最多接受 32 MiB 的用户数据");
    QTest::newRow("header beyond the limit") << withHeader(0x40000000u, good.mid(4)) << tooLarge;
    QTest::newRow("header one past the limit") << withHeader(UserBackup::MaxDatabaseBytes + 1u, good.mid(4)) << tooLarge;
    QTest::newRow("not JSON") << qCompress("users: Admin") << "用户列表";
    QTest::newRow("no user list") << qCompress(QJsonDocument(QJsonObject{{"users", QJsonArray{admin}}}).toJson())
                                  << "用户列表";
    QTest::newRow("no administrator") << qCompress(userList({userObject(2, "op", 1)})) << noAdministrator;
    // The later of two users with one Id is the one read.
    QTest::newRow("same Id twice") << qCompress(userList({admin, userObject(1, "op", 1)})) << noAdministrator;
    // Names as the store holds them (cut at the first NUL) and as the login trims what is typed.
    const QString nul(QChar(0));
    QTest::newRow("only administrator after a NUL") << qCompress(userList({userObject(1, nul + "Admin", 0)})) << "“”";
    // The login finds the first "Admin": not the administrator.
    QTest::newRow("NUL, the same name as stored")
        << qCompress(userList({userObject(1, "Admin" + nul + "x", 1), userObject(5, "Admin", 0)})) << "找不到该管理员";
    QTest::newRow("only administrator with a tab") << qCompress(userList({userObject(1, "Ad\tmin", 0)})) << "Ad<U+0009>min";
    // Not ignorable: what remains cannot be typed as it reads.
    QTest::newRow("only administrator Admin U+2800")
        << qCompress(userList({userObject(1, "Admin" + QString::fromUcs4(&brailleBlank, 1), 0)}))
        << "Admin<U+2800>”（Id 1）：" + AccountRules::nameRefusal(Verdict::NotPrintable);
    // A mark first has no base to be typed on.
    QTest::newRow("only administrator begins with a combining mark")
        << qCompress(userList({userObject(1, QStringLiteral(u"\u0301Admin"), 0)})) << "组合符号";
    QTest::newRow("only administrator's password is blanks")
        << qCompress(userList({userObject(1, "Admin", 0, passwordTransform("Admin", "   "))})) << "去掉首尾空白后为空";
    // Typing "Shift Lead" finds neither of two alike; typing "Admin" finds the operator.
    QTest::newRow("two administrators alike")
        << qCompress(userList({userObject(1, QStringLiteral(u"Shift\u00A0Lead"), 0),
                               userObject(2, QStringLiteral(u"Shift\u2003Lead"), 0)}))
        << "找不到该管理员";
    QTest::newRow("administrator alike an operator's exact name")
        << qCompress(userList({userObject(1, QStringLiteral(u"Ad\u200Bmin"), 0), userObject(2, "Admin", 1)}))
        << "找不到该管理员";
    QTest::newRow("no administrator can log in")
        << qCompress(userList({userObject(1, "Admin", 0, "987ff27701324bd2"), userObject(2, "root", 0, "0123ABCD"),
                               userObject(3, "op", 1)}))
        << "密码";
    // Each is found by its name as it reads (a zero-width space follows it) and fails only at its
    // password: judged in one pass, not with a lookup of every user per administrator.
    QJsonArray many;
    for (int id = 1; id <= 50000; ++id)
        many.append(userObject(id, QStringLiteral(u"operator%1\u200B").arg(id), 0, "0123ABCD"));
    QTest::newRow("50 000 administrators, none can log in") << qCompress(userList(many))
                                                            << "“operator1<U+200B>”（Id 1）";
}

// Read as the store reads its own file: what it skips or cuts, the import skips or cuts alike. A
// backup of a store written by an earlier release comes back as the same users.
void TestAccounts::importReadsAsTheStore_data()
{
    QTest::addColumn<QJsonArray>("users");   // beside an administrator "Admin"
    QTest::newRow("written by the previous release")
        << QJsonArray{userObject(2, persian, 1), userObject(3, emojiSequence, 1),
                      userObject(4, QStringLiteral(u"Ma\u00ADria"), 0),
                      userObject(9007199254740992.0, QStringLiteral(u"\U0001FAE0"), 1, "AB", rights(200))};
    QTest::newRow("group 2") << QJsonArray{userObject(2, "op", 2)};
    QTest::newRow("group missing") << QJsonArray{QJsonObject{{"Id", 2}, {"UserName", "op"}, {"PassWord", "AB"}}};
    QTest::newRow("same name twice") << QJsonArray{userObject(2, "Admin", 1)};
    QTest::newRow("empty name") << QJsonArray{userObject(2, "", 1)};
    QTest::newRow("name over 99 bytes") << QJsonArray{userObject(2, QString(100, 'n'), 1)};
    QTest::newRow("Id not whole") << QJsonArray{userObject(2.5, "op", 1)};
    QTest::newRow("Id negative") << QJsonArray{userObject(-2, "op", 1)};
    QTest::newRow("Id out of range") << QJsonArray{userObject(1e300, "op", 1)};
    QTest::newRow("Id as text") << QJsonArray{QJsonObject{{"Id", "2"}, {"Group", 1}, {"UserName", "op"}, {"PassWord", "AB"}}};
    QTest::newRow("password not hexadecimal") << QJsonArray{userObject(2, "op", 1, "secret")};
    QTest::newRow("password empty") << QJsonArray{userObject(2, "op", 1, "")};
    QTest::newRow("rights not an array")
        << QJsonArray{QJsonObject{{"Id", 2}, {"Group", 1}, {"UserName", "op"}, {"input-rights", true}}};
    QTest::newRow("user not an object") << QJsonArray{QJsonValue(7)};
}

void TestAccounts::importReadsAsTheStore()
{
    QFETCH(QJsonArray, users);
    users.prepend(userObject(1, "Admin", 0));
    QVERIFY(work->write(userFile, userList(users)));
    CUserManage store;
    const QStringList read = dump(store);
    QVERIFY(UserBackup::exportDatabase(work->filePath("users.bak")));
    QVERIFY(store.del(1));
    QString reason;
    QVERIFY2(UserBackup::importDatabase(work->filePath("users.bak"), &store, &reason), qPrintable(reason));
    QCOMPARE(dump(store), read);
    QCOMPARE(work->read(userFile), userList(users));
}

// The limits themselves pass: a backup of what the pages make imports.
void TestAccounts::importAcceptsTheLimits()
{
    CUserManage store;
    seed(store);
    const QByteArray database = userList({userObject(1, "Admin", 1), userObject(7, "root", 0),
                                          userObject(9007199254740991.0, "操作员1", 1, "ab12", rights(160)),
                                          userObject(9, QString(33, QChar(0x4E2D)), 1)});
    QVERIFY(work->write("good.bak", qCompress(database)));
    QVERIFY(UserBackup::importDatabase(work->filePath("good.bak"), &store));
    QCOMPARE(work->read(userFile), database);
    QCOMPARE(store.getUserByName(QStringLiteral("操作员1")).Id, qint64(9007199254740991));
    QCOMPARE(store.getUserByName(QStringLiteral("操作员1")).inputRights.size(), 160);
}

// A backup whose only administrator (password 740261) logs in by typing its name as it reads.
void TestAccounts::importFindsTheAdministrator_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QJsonArray>("others");
    for (const ushort space : {0x00A0, 0x2000, 0x2002, 0x2003, 0x2009, 0x200A, 0x202F, 0x205F, 0x1680, 0x3000})
        QTest::addRow("Shift U+%04X Lead", space) << "Shift" + QString(QChar(space)) + "Lead" << "Shift Lead" << QJsonArray();
    QTest::newRow("decomposed e acute") << QStringLiteral(u"Ade\u0301") << QStringLiteral(u"Ad\u00E9") << QJsonArray();
    // NFC after the removal: the mark composes with the base the ignorable parted it from.
    QTest::newRow("mark parted by an ignorable") << QStringLiteral(u"Ade\u200B\u0301") << QStringLiteral(u"Ad\u00E9")
                                                 << QJsonArray();
    QTest::newRow("decomposed Hangul") << QStringLiteral(u"\u1100\u116A\u11AB\u1105\u1175\u110C\u1161")
                                       << QStringLiteral(u"\uAD00\uB9AC\uC790") << QJsonArray();
    QTest::newRow("joiner between two cups") << QStringLiteral(u"\u2615\u200D\u2615") << QStringLiteral(u"\u2615\u2615")
                                             << QJsonArray();
    QTest::newRow("non-joiner after a conjunct") << QStringLiteral(u"Admin\u0915\u094D\u200C")
                                                 << QStringLiteral(u"Admin\u0915\u094D") << QJsonArray();
    for (const EarlierAccountName& earlier : earlierAccountNames)
        QTest::addRow("earlier release, %s", earlier.what) << earlier.stored << earlier.asRead
                                                           << QJsonArray{userObject(9, "op", 1)};
    for (const uint invisible : invisibles) {
        if (invisible != brailleBlank)
            QTest::addRow("Admin U+%04X", invisible) << "Admin" + QString::fromUcs4(&invisible, 1) << "Admin" << QJsonArray();
    }
    QTest::newRow("non-joiner inside") << QStringLiteral(u"Ad\u200Cmin") << "Admin" << QJsonArray();
    QTest::newRow("zero-width space") << QStringLiteral(u"Admin\u200B") << "Admin" << QJsonArray();
    QTest::newRow("in blanks") << " Admin " << "Admin" << QJsonArray();
    // Typed exactly, the stored name is found before a user alike.
    QTest::newRow("exact beside one alike") << "Admin" << "Admin" << QJsonArray{userObject(1, QStringLiteral(u"Admin\u200B"), 1)};
}

// As the console does it: reads the store, exports it, imports the export.
void TestAccounts::importFindsTheAdministrator()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QJsonArray, others);
    others.append(userObject(5, stored, 0, passwordTransform(stored, "740261")));
    QVERIFY(work->write(userFile, userList(others)));
    CUserManage store;
    QVERIFY(UserBackup::exportDatabase(work->filePath("users.bak")));
    QString reason;
    QVERIFY2(UserBackup::importDatabase(work->filePath("users.bak"), &store, &reason), qPrintable(reason));
    QCOMPARE(store.findForLogin(typed).Id, qint64(5));
    QCOMPARE(store.findForLogin(typed).userName(), stored);
}

void TestAccounts::importRefusesUnusableBackups()
{
    QFETCH(QByteArray, backup);
    QFETCH(QString, why);
    CUserManage store;
    seed(store);
    const QByteArray before = work->read(userFile);
    QVERIFY(work->write("bad.bak", backup));
    QString reason;
    QVERIFY(!UserBackup::importDatabase(work->filePath("bad.bak"), &store, &reason));
    QVERIFY2(reason.contains(why), qPrintable(reason));
    QCOMPARE(work->read(userFile), before);
    QCOMPARE(store.getUserNames(), (QStringList{"Admin", "alice"}));
}

QTEST_GUILESS_MAIN(TestAccounts)
#include "tst_accounts.moc"
