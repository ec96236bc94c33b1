#include "core/CUserManage.h"
#include "FileSizeLimit.h"
#include "core/PasswordKey.h"
#include "TempWorkDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

const QString userFile = QStringLiteral("data/UserConfig.dat");

User_Info makeUser(qint64 id, const QString& name, int group = 1)
{
    User_Info user;
    user.Id = id;
    user.Group = group;
    user.setUserName(name);
    user.setPassWord(passwordTransform(name, QStringLiteral("secret")));
    return user;
}

bool addAliceAndBob(CUserManage& store)
{
    return store.add(makeUser(1, QStringLiteral("alice"))) && store.add(makeUser(2, QStringLiteral("bob")));
}

QByteArray userList(const QJsonArray& list)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("user-list"), list}}).toJson();
}

// The database shipped with the program: one administrator "Admin" with password 740261.
QByteArray buildDefaultDatabase()
{
    TempWorkDir scratch;
    CUserManage store;
    User_Info admin;
    admin.Id = 1;
    admin.Group = 0;
    admin.setUserName(QStringLiteral("Admin"));
    admin.setPassWord(passwordTransform(QStringLiteral("Admin"), QStringLiteral("740261")));
    if (!store.add(admin))
        return QByteArray();
    return scratch.read(userFile);
}

} // namespace

class TestUserManage : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(work.renew()); }
    void cleanup() { work.drop(); }

    void fileRoundTrip();
    void addRules_data();
    void addRules();
    void editRules_data();
    void editRules();
    void deleteRules();
    void readingDefaults();
    void idRange_data();
    void idRange();
    void unreadableFileGivesEmptyStore_data();
    void unreadableFileGivesEmptyStore();
    void failedWriteKeepsOldFile();
    void failedWriteUndoesChange_data();
    void failedWriteUndoesChange();
    void fileIsOwnerOnly();
    void rightsBeyondTheLargestModel();
    void longTextsAreCut();
    void shippedDefaultDatabase();

private:
    PerTestWorkDir work;
};

void TestUserManage::fileRoundTrip()
{
    CUserManage store;
    QVERIFY(store.getUserList().isEmpty());
    User_Info later = makeUser(1700000000123, QStringLiteral("张三"));
    later.setDescription(QStringLiteral("值班 operator"));
    later.inputRights = {{0, true}, {1, false}, {2, true}};
    later.outputRights = {{0, false}};
    QVERIFY(store.add(later));
    QVERIFY(store.add(makeUser(5, QStringLiteral("Admin"), 0)));

    const QJsonArray list = QJsonDocument::fromJson(work->read(userFile)).object().value("user-list").toArray();
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(0).toObject().value("Id").toDouble(), 5.0);   // ascending Id
    QCOMPARE(list.at(1).toObject().value("input-rights").toArray(), (QJsonArray{true, false, true}));

    CUserManage reread;
    QCOMPARE(reread.getUserNames(), (QStringList{"Admin", "张三"}));
    const User_Info back = reread.getUserById(1700000000123);
    QCOMPARE(back.Id, later.Id);
    QCOMPARE(back.Group, 1);
    QCOMPARE(back.userName(), QStringLiteral("张三"));
    QCOMPARE(back.passWord(), later.passWord());
    QCOMPARE(back.description(), QStringLiteral("值班 operator"));
    QCOMPARE(back.inputRights, later.inputRights);
    QCOMPARE(back.outputRights, later.outputRights);
    QCOMPARE(reread.getUserByName(QStringLiteral("Admin")).Group, 0);
}

void TestUserManage::addRules_data()
{
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("added");

    QTest::newRow("new user") << qint64(3) << "operator" << true;
    QTest::newRow("name differs in case only") << qint64(3) << "ALICE" << true;
    QTest::newRow("same name") << qint64(3) << "alice" << false;
    QTest::newRow("same name, same id") << qint64(1) << "alice" << false;
    // Names that read as a stored one would be two accounts that look the same.
    QTest::newRow("soft hyphen inside") << qint64(3) << QStringLiteral(u"al\u00ADice") << false;
    QTest::newRow("no-break space at the end") << qint64(3) << QStringLiteral(u"bob\u00A0") << false;
    QTest::newRow("new name, existing id") << qint64(2) << "carol" << false;
    // The file would bring 2^53 + 1 back as 2^53: only Ids it holds exactly are made.
    QTest::newRow("Id 2^53 - 1") << qint64(9007199254740991) << "carol" << true;
    QTest::newRow("Id 2^53") << qint64(9007199254740992) << "carol" << false;
    QTest::newRow("Id 2^53 + 1") << qint64(9007199254740993) << "carol" << false;
}

void TestUserManage::addRules()
{
    QFETCH(qint64, id);
    QFETCH(QString, name);
    QFETCH(bool, added);

    CUserManage store;
    QVERIFY(addAliceAndBob(store));
    const QByteArray before = work->read(userFile);

    QCOMPARE(store.add(makeUser(id, name)), added);
    QCOMPARE(store.getUserList().size(), added ? 3 : 2);
    QCOMPARE(work->read(userFile) == before, !added);
    QCOMPARE(store.getUserById(2).userName(), QStringLiteral("bob"));
}

void TestUserManage::editRules_data()
{
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("edited");

    QTest::newRow("keep own name, save") << qint64(1) << "alice" << true << true;
    QTest::newRow("new name without save") << qint64(1) << "alicia" << false << true;
    QTest::newRow("other user's name") << qint64(1) << "bob" << true << false;
    QTest::newRow("other user's name alike") << qint64(1) << QStringLiteral(u"b\u200Bob") << true << false;
    QTest::newRow("own name alike") << qint64(1) << QStringLiteral(u"alice\u200B") << true << true;
    // An earlier release's store may hold a pair: each keeps working as it is.
    QTest::newRow("own name, another has it too") << qint64(3) << "bob" << true << true;
    QTest::newRow("unknown id") << qint64(9) << "zed" << true << false;
}

void TestUserManage::editRules()
{
    QFETCH(qint64, id);
    QFETCH(QString, name);
    QFETCH(bool, save);
    QFETCH(bool, edited);

    QVERIFY(work->write(userFile, userList({QJsonObject{{"Id", 1}, {"UserName", "alice"}}, QJsonObject{{"Id", 2}, {"UserName", "bob"}},
                                            QJsonObject{{"Id", 3}, {"UserName", "bob"}}})));
    CUserManage store;
    const QByteArray before = work->read(userFile);

    User_Info user = makeUser(id, name);
    user.setDescription(QStringLiteral("changed"));
    QCOMPARE(store.edit(user, save), edited);
    QCOMPARE(store.getUserById(id).description() == QStringLiteral("changed"), edited);
    QCOMPARE(work->read(userFile) != before, edited && save);
    QCOMPARE(store.getUserList().size(), 3);
}

void TestUserManage::deleteRules()
{
    CUserManage store;
    QVERIFY(addAliceAndBob(store));
    QVERIFY(!store.del(7));
    QVERIFY(store.del(1));
    QCOMPARE(store.getUserById(1).Id, qint64(-1));
    QCOMPARE(CUserManage().getUserNames(), QStringList{"bob"});
}

void TestUserManage::readingDefaults()
{
    const QJsonArray list{
        QJsonObject{{"UserName", "nogroup"}, {"Id", 4}},
        QJsonObject{{"UserName", "noid"}, {"Group", 1}},
        QJsonObject{{"Id", 7}, {"Group", 1}, {"UserName", "first"}},
        QJsonObject{{"Id", 7}, {"Group", 1}, {"UserName", "second"}, {"input-rights", QJsonArray{true, "yes", 1, false, true}}},
        QJsonValue("not a user"),
    };
    QVERIFY(work->write(userFile, userList(list)));

    CUserManage store;
    QCOMPARE(store.getUserNames(), (QStringList{"noid", "nogroup", "second"}));
    QCOMPARE(store.getUserByName("nogroup").Group, 0);   // missing group: administrator
    QCOMPARE(store.getUserByName("noid").Id, qint64(0));
    const User_Info second = store.getUserById(7);
    QCOMPARE(second.userName(), QStringLiteral("second"));
    QCOMPARE(second.inputRights, (QMap<int, bool>{{0, true}, {1, false}, {2, false}, {3, false}, {4, true}}));
    QVERIFY(second.outputRights.isEmpty());
    QVERIFY(second.passWord().isEmpty());
    // Lookups are exact; not found is the default record.
    const User_Info none = store.getUserByName("SECOND");
    QCOMPARE(none.Id, qint64(-1));
    QCOMPARE(none.Group, 1);
    QVERIFY(none.userName().isEmpty());
}

void TestUserManage::idRange_data()
{
    QTest::addColumn<QByteArray>("idText");   // as written in the file
    QTest::addColumn<bool>("kept");
    QTest::addColumn<qint64>("id");
    // Larger numbers would not survive the next write, which stores them as doubles.
    QTest::newRow("2^53") << QByteArray("9007199254740992") << true << qint64(9007199254740992);
    QTest::newRow("-2^53") << QByteArray("-9007199254740992") << true << qint64(-9007199254740992);
    QTest::newRow("2^53 + 1") << QByteArray("9007199254740993") << false << qint64(0);
    QTest::newRow("largest qint64") << QByteArray("9223372036854775807") << false << qint64(0);
    QTest::newRow("time stamp") << QByteArray("1700000000000") << true << qint64(1700000000000);
    QTest::newRow("fraction") << QByteArray("3.75") << true << qint64(3);
    QTest::newRow("text reads as missing") << QByteArray("\"12\"") << true << qint64(0);
    QTest::newRow("1e300") << QByteArray("1e300") << false << qint64(0);
    QTest::newRow("-1e300") << QByteArray("-1e300") << false << qint64(0);
}

void TestUserManage::idRange()
{
    QFETCH(QByteArray, idText);
    QFETCH(bool, kept);
    QFETCH(qint64, id);
    QVERIFY(work->write(userFile, "{\"user-list\": [{\"Id\": " + idText + ", \"UserName\": \"u\"},"
                                  " {\"Id\": 5, \"UserName\": \"other\"}]}"));
    if (!kept)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("out-of-range Id skipped")));
    CUserManage store;
    QCOMPARE(store.getUserNames().contains(QStringLiteral("u")), kept);
    QVERIFY(store.getUserNames().contains(QStringLiteral("other")));
    if (kept)
        QCOMPARE(store.getUserByName(QStringLiteral("u")).Id, id);
}

void TestUserManage::unreadableFileGivesEmptyStore_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("present");
    const QByteArray good = userList({QJsonObject{{"Id", 1}, {"UserName", "Admin"}}});
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("truncated") << good.left(good.size() - 8) << true;
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff", 4) << true;
    QTest::newRow("list is an object") << QByteArray("{\"user-list\": {\"Id\": 1}}") << true;
}

void TestUserManage::unreadableFileGivesEmptyStore()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, present);
    if (present)
        QVERIFY(work->write(userFile, content));
    CUserManage store;
    QVERIFY(store.getUserList().isEmpty());
    QCOMPARE(store.getUserByName(QStringLiteral("Admin")).Id, qint64(-1));
}

void TestUserManage::failedWriteKeepsOldFile()
{
    CUserManage store;
    QVERIFY(store.add(makeUser(1, QStringLiteral("alice"))));
    const QByteArray before = work->read(userFile);
    {
        FileSizeLimit limit(before.size() / 2);
        QVERIFY(limit.isActive());
        QVERIFY(store.edit(makeUser(1, QStringLiteral("alicia")), false));   // memory only
        QVERIFY(!store.writeConfig());
    }
    QCOMPARE(work->read(userFile), before);
    QCOMPARE(store.getUserNames(), QStringList{"alicia"});
    QVERIFY(store.writeConfig());
    QCOMPARE(CUserManage().getUserNames(), QStringList{"alicia"});
}

// A change the file did not take is undone: the page reports the failure, and the next start
// would not find the change either.
void TestUserManage::failedWriteUndoesChange_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("add") << "add";
    QTest::newRow("delete") << "delete";
    QTest::newRow("edit") << "edit";
}

void TestUserManage::failedWriteUndoesChange()
{
    QFETCH(QString, change);
    CUserManage store;
    QVERIFY(addAliceAndBob(store));
    const QByteArray before = work->read(userFile);
    User_Info edited = makeUser(1, QStringLiteral("alice"));
    edited.setPassWord(passwordTransform(QStringLiteral("alice"), QStringLiteral("new one")));
    {
        FileSizeLimit limit(before.size() / 2);
        QVERIFY(limit.isActive());
        if (change == QLatin1String("add"))
            QVERIFY(!store.add(makeUser(3, QStringLiteral("carol"))));
        else if (change == QLatin1String("delete"))
            QVERIFY(!store.del(2));
        else
            QVERIFY(!store.edit(edited, true));
    }
    QCOMPARE(work->read(userFile), before);
    QCOMPARE(store.getUserNames(), (QStringList{"alice", "bob"}));
    QCOMPARE(store.getUserById(1).passWord(), makeUser(1, QStringLiteral("alice")).passWord());
}

// The file holds every password transform: owner-only once read (a copy of the shipped file),
// and after every write.
void TestUserManage::fileIsOwnerOnly()
{
    QVERIFY(work->write(userFile, "{}"));
    const QString path = work->filePath(userFile);
    QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOther | QFileDevice::ReadGroup));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    CUserManage store;
    QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());
    QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOther));
    QVERIFY(store.add(makeUser(1, QStringLiteral("alice"))));
    QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());
    QVERIFY(QFile::permissions(path) & QFileDevice::ReadOwner);
    // The file the build stages beside the program, before the program ever ran.
    const QString staged = QString::fromLocal8Bit(qgetenv("VEXILO_BIN_DIR")) + QStringLiteral("/") + userFile;
    QVERIFY2(QFile::exists(staged), qPrintable(staged));
    QCOMPARE(QFile::permissions(staged) & others, QFileDevice::Permissions());
}

// Rights beyond the largest model's 160 ports are dropped as the file is read.
void TestUserManage::rightsBeyondTheLargestModel()
{
    QJsonArray many;
    for (int i = 0; i < 100000; ++i)
        many.append(i == 159 || i == 160);
    QVERIFY(work->write(userFile, userList({QJsonObject{{"Id", 1}, {"UserName", "alice"}, {"input-rights", many}}})));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("rights beyond port 160 ignored")));
    const User_Info alice = CUserManage().getUserById(1);
    QCOMPARE(alice.inputRights.size(), 160);
    QVERIFY(alice.inputRights.value(159));
}

void TestUserManage::longTextsAreCut()
{
    User_Info user;
    user.setUserName(QString(60, QChar(0x4E2D)));   // 180 bytes of UTF-8
    QCOMPARE(user.userName(), QString(33, QChar(0x4E2D)));   // 99 bytes: whole characters only
    user.setDescription(QString(150, QLatin1Char('d')));
    QCOMPARE(user.description().size(), 99);
    user.setUserName(QStringLiteral("ab"));
    QCOMPARE(user.userName(), QStringLiteral("ab"));
}

void TestUserManage::shippedDefaultDatabase()
{
    const QByteArray generated = buildDefaultDatabase();
    QVERIFY(!generated.isEmpty());
    const QString shipped = QString::fromLocal8Bit(qgetenv("VEXILO_SOURCE_DIR")) + QStringLiteral("/runtime/") + userFile;
    // VEXILO_WRITE_DEFAULT_USERDB=1 regenerates the shipped file.
    if (qEnvironmentVariableIntValue("VEXILO_WRITE_DEFAULT_USERDB") == 1) {
        QFile out(shipped);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(out.write(generated), qint64(generated.size()));
    }
    QFile file(shipped);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(shipped));
    QCOMPARE(file.readAll(), generated);

    QVERIFY(work->write(userFile, generated));
    CUserManage store;
    QCOMPARE(store.getUserNames(), QStringList{"Admin"});
    const User_Info admin = store.getUserByName(QStringLiteral("Admin"));
    QCOMPARE(admin.Group, 0);
    QCOMPARE(admin.passWord(), passwordTransform(QStringLiteral("Admin"), QStringLiteral("740261")));
    QCOMPARE(admin.passWord().size(), 16);   // six characters fill one DES block
    QVERIFY(admin.passWord() != passwordTransform(QStringLiteral("admin"), QStringLiteral("740261")));
}

QTEST_GUILESS_MAIN(TestUserManage)
#include "tst_usermanage.moc"
