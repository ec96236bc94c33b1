#include "app/AppStartup.h"
#include "core/GlobalState.h"
#include "core/MatrixCommands.h"
#include "platform/LanguageSetting.h"
#include "TempWorkDir.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QtTest>

namespace {
QStringList g_captured;
void captureHandler(QtMsgType, const QMessageLogContext&, const QString& text)
{
    g_captured << text;
}

QStringList g_lines;
void lineHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    g_lines << AppStartup::formatLogLine(type, context, text, QDateTime::currentDateTime());
}

bool touchWithAge(const QString& path, int days)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("x");
    file.flush();
    return file.setFileTime(QDateTime::currentDateTime().addDays(-days), QFileDevice::FileModificationTime);
}
} // namespace

class TestAppStartup : public QObject
{
    Q_OBJECT
private slots:
    void logLine_data();
    void logLine();
    void libraryLinesNameTheirOrigin();
    void expiry_data();
    void expiry();
    void cleanUp();
    void cleanUpQuietWhenEmptyOrMissing();
    void languageIndex_data();
    void languageIndex();
    void languageIsRecorded_data();
    void languageIsRecorded();
    void ownerlessSettingsLocks_data();
    void ownerlessSettingsLocks();
};

void TestAppStartup::logLine_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<QString>("expected");

    QTest::newRow("member, unix path") << int(QtDebugMsg) << QByteArray("/src/core/CCHelper.cpp")
        << QByteArray("bool CCHelper::sendData(const QString&, bool, QString&, QByteArray&, bool)")
        << QStringLiteral("[CCHelper.cpp]->[sendData](238)\tDebug   : hello");
    QTest::newRow("member, windows path") << int(QtWarningMsg) << QByteArray("C:\\src\\core\\CCHelper.cpp")
        << QByteArray("void CCHelper::reConnect()")
        << QStringLiteral("[CCHelper.cpp]->[reConnect](238)\tWarning : hello");
    QTest::newRow("free function") << int(QtCriticalMsg) << QByteArray("main.cpp")
        << QByteArray("void initData()") << QStringLiteral("[main.cpp]->[initData](238)\tCritical: hello");
    QTest::newRow("scope only in the arguments") << int(QtInfoMsg) << QByteArray("a.cpp")
        << QByteArray("int f(std::string)") << QStringLiteral("[a.cpp]->[f](238)\tInfo    : hello");
    QTest::newRow("nested scope") << int(QtFatalMsg) << QByteArray("a.cpp")
        << QByteArray("void STMsgLogger::st_logger::writeLog(QtMsgType)")
        << QStringLiteral("[a.cpp]->[st_logger::writeLog](238)\tFatal   : hello");
    QTest::newRow("no context") << int(QtDebugMsg) << QByteArray() << QByteArray()
        << QStringLiteral("[]->[](238)\tDebug   : hello");
}

void TestAppStartup::logLine()
{
    QFETCH(int, type);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, function);
    QFETCH(QString, expected);
    const QMessageLogContext context(file.isEmpty() ? nullptr : file.constData(), 238,
                                     function.isEmpty() ? nullptr : function.constData(), nullptr);
    const QDateTime now(QDate(2024, 3, 5), QTime(7, 8, 9, 12));
    const QString line = AppStartup::formatLogLine(QtMsgType(type), context, QStringLiteral("hello"), now);
    QCOMPARE(line, QStringLiteral("2024-03-05 07:08:09.012 ") + expected);
}

// Lines logged inside the libraries (here core, for a missing command template) carry their
// origin: a library built without the log context gives "[]->[](0)".
void TestAppStartup::libraryLinesNameTheirOrigin()
{
    TempWorkDir dir;
    g_lines.clear();
    QtMessageHandler previous = qInstallMessageHandler(lineHandler);
    MatrixCommands::buildSystem(QStringLiteral("NoSuchCommand"));
    qInstallMessageHandler(previous);
    QCOMPARE(g_lines.size(), 1);
    const QRegularExpression origin(QStringLiteral(R"(\[MatrixCommands\.cpp\]->\[build\]\((\d+)\)\tWarning : no command)"));
    const QRegularExpressionMatch match = origin.match(g_lines.first());
    QVERIFY2(match.hasMatch(), qPrintable(g_lines.first()));
    QVERIFY(match.captured(1).toInt() > 0);
}

void TestAppStartup::expiry_data()
{
    QTest::addColumn<int>("createdDaysAgo");   // -1: the file system keeps no creation time
    QTest::addColumn<int>("modifiedDaysAgo");
    QTest::addColumn<bool>("expired");
    QTest::newRow("both recent") << 1 << 1 << false;
    QTest::newRow("old modification, recent creation") << 2 << 31 << true;
    QTest::newRow("old creation, recent modification") << 40 << 2 << true;
    QTest::newRow("exactly 29 days") << 29 << 29 << false;
    QTest::newRow("no creation time, recent") << -1 << 3 << false;
    QTest::newRow("no creation time, old") << -1 << 45 << true;
}

void TestAppStartup::expiry()
{
    QFETCH(int, createdDaysAgo);
    QFETCH(int, modifiedDaysAgo);
    QFETCH(bool, expired);
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime created = createdDaysAgo < 0 ? QDateTime() : now.addDays(-createdDaysAgo);
    QCOMPARE(AppStartup::isExpiredLog(created, now.addDays(-modifiedDaysAgo), now), expired);
}

void TestAppStartup::cleanUp()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(QStringLiteral("Log/2024_01_01"));
    QVERIFY(touchWithAge(dir.filePath("Log/old.log"), 45));
    QVERIFY(touchWithAge(dir.filePath("Log/old.dat"), 31));
    QVERIFY(touchWithAge(dir.filePath("Log/new.log"), 2));
    QVERIFY(touchWithAge(dir.filePath("Log/old.txt"), 90));
    QVERIFY(touchWithAge(dir.filePath("Log/2024_01_01/nested.log"), 90));
    QVERIFY(touchWithAge(dir.filePath("outside.log"), 90));
    QVERIFY(QFile::link(dir.filePath("outside.log"), dir.filePath("Log/link.log")));

    g_captured.clear();
    QtMessageHandler previous = qInstallMessageHandler(captureHandler);
    AppStartup::cleanOldLogs(QStringLiteral("./Log"), QDateTime::currentDateTime());
    qInstallMessageHandler(previous);

    QVERIFY(!QFile::exists(dir.filePath("Log/old.log")));
    QVERIFY(!QFile::exists(dir.filePath("Log/old.dat")));
    QVERIFY(QFile::exists(dir.filePath("Log/new.log")));
    QVERIFY(QFile::exists(dir.filePath("Log/old.txt")));
    QVERIFY(QFile::exists(dir.filePath("Log/2024_01_01/nested.log")));
    QVERIFY(QFile::exists(dir.filePath("outside.log")));
    QVERIFY(QFileInfo(dir.filePath("Log/link.log")).isSymLink());
    QVERIFY(g_captured.contains(QStringLiteral("清理30天前的日志文件成功！")));
}

void TestAppStartup::cleanUpQuietWhenEmptyOrMissing()
{
    TempWorkDir dir;
    g_captured.clear();
    QtMessageHandler previous = qInstallMessageHandler(captureHandler);
    AppStartup::cleanOldLogs(QStringLiteral("./Log"), QDateTime::currentDateTime());
    QVERIFY(!QDir(dir.filePath("Log")).exists());
    QDir().mkpath(QStringLiteral("Log"));
    AppStartup::cleanOldLogs(QStringLiteral("./Log"), QDateTime::currentDateTime());
    qInstallMessageHandler(previous);
    QVERIFY(g_captured.isEmpty());
}

void TestAppStartup::languageIndex_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("index");
    QTest::newRow("simplified") << "zh_CN" << 0;
    QTest::newRow("traditional") << "zh_TW" << 1;
    QTest::newRow("english") << "en_US" << 2;
    QTest::newRow("german") << "de_DE" << 2;
    QTest::newRow("none") << "" << 2;
    QTest::newRow("garbage") << "??" << 2;
}

void TestAppStartup::languageIndex()
{
    QFETCH(QString, locale);
    QFETCH(int, index);
    QCOMPARE(AppStartup::languageIndexOf(locale), index);
}

void TestAppStartup::languageIsRecorded_data()
{
    languageIndex_data();
}

void TestAppStartup::languageIsRecorded()
{
    QFETCH(QString, locale);
    QFETCH(int, index);
    TempWorkDir dir;
    if (!locale.isEmpty())
        LanguageSetting::write(locale);
    g_languageIndex = -1;
    AppStartup::applyLanguage();
    QCOMPARE(g_languageIndex, index);
    QSettings client(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat);
    QCOMPARE(client.value(QStringLiteral("CLIENT_INFO/Language")).toInt(), index);
}

// A settings lock file left without an owner's name (its writer killed between creating and
// writing it) is removed before the first settings write, which would otherwise wait 30 s for it
// to grow stale. A lock that names a live owner is kept.
void TestAppStartup::ownerlessSettingsLocks_data()
{
    QTest::addColumn<QByteArray>("content");   // null: held by this process
    QTest::addColumn<bool>("removed");
    QTest::newRow("empty") << QByteArray("") << true;
    QTest::newRow("no owner's name") << QByteArray("\n\n") << true;
    QTest::newRow("held by a live process") << QByteArray() << false;
}

void TestAppStartup::ownerlessSettingsLocks()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, removed);
    TempWorkDir dir;
    const QString lockPath = QStringLiteral("data/ClientConfig.dat.lock");
    QLockFile held(lockPath);
    if (content.isNull())
        QVERIFY(held.tryLock(0));
    else
        QVERIFY(dir.write(lockPath, content));
    if (removed)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ClientConfig.dat.lock")));
    AppStartup::releaseOwnerlessSettingsLocks(dir.path());
    QCOMPARE(!QFile::exists(lockPath), removed);
    if (removed) {
        AppStartup::applyLanguage();   // takes the lock at once
        QVERIFY(QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat).contains(QStringLiteral("CLIENT_INFO/Language")));
    }
}

QTEST_MAIN(TestAppStartup)
#include "tst_appstartup.moc"
