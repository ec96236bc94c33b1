// The shared free functions: parsing helpers, file helpers, widget placement, skins, the
// event-pumping delay, the reachability probes and the language switches.
#include "FakePing.h"
#include "platform/EventLoopDelay.h"
#include "platform/LoopbackGuard.h"
#include "framework/MessageShortcuts.h"
#include "framework/Utilities.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <QtTest>

#include <vector>

Q_DECLARE_METATYPE(QList<int>)

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString storedSkin()
{
    return QSettings(QStringLiteral("data/MainConfig.dat"), QSettings::IniFormat)
        .value(QStringLiteral("Skin/FileName"))
        .toString();
}

} // namespace

class TestUtilities : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void isIpAddress_data();
    void isIpAddress();
    void extractNumbers_data();
    void extractNumbers();
    void readFile_data();
    void readFile();
    void isDirExist_data();
    void isDirExist();
    void copyToCharArray_data();
    void copyToCharArray();
    void copyToCharArrayWritesNothingWithoutRoom();

    void moveCenterInGivenArea_data();
    void moveCenterInGivenArea();
    void moveCenterFallsBackToParentThenDesktop();

    void setSkinDefaultsToApplication();
    void shippedSkinStylesEveryHook_data();
    void shippedSkinStylesEveryHook();
    void setSkinOnWidget_data();
    void setSkinOnWidget();

    void delayKeepsEventsRunning();
    void delayWithoutTimeProcessesNothing_data();
    void delayWithoutTimeProcessesNothing();
    void endedWaitsReturnAtOnce();

    void checkTcpConnectLoopback();
    void checkTcpConnectRefusedByGuard();
    void pingForwardsToSystemPing();

    void languageSwitches();

private:
    QTemporaryDir workDir;
};

void TestUtilities::initTestCase()
{
    QVERIFY(workDir.isValid());
    QVERIFY(QDir::setCurrent(workDir.path()));
    LoopbackGuard::setActiveForTesting(true);
}

void TestUtilities::isIpAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("private") << "192.168.1.1" << true;
    QTest::newRow("broadcast") << "255.255.255.255" << true;
    QTest::newRow("zeros") << "0.0.0.0" << true;
    QTest::newRow("leading zeros") << "001.2.3.4" << true;
    QTest::newRow("leading zero two digits") << "010.1.1.1" << true;
    QTest::newRow("octet 256") << "256.1.1.1" << false;
    QTest::newRow("octet 260") << "1.260.1.1" << false;
    QTest::newRow("three octets") << "1.2.3" << false;
    QTest::newRow("five octets") << "1.2.3.4.5" << false;
    QTest::newRow("four-digit octet") << "0004.1.1.1" << false;
    QTest::newRow("trailing blank") << "1.2.3.4 " << false;
    QTest::newRow("leading blank") << " 1.2.3.4" << false;
    QTest::newRow("trailing newline") << "1.2.3.4\n" << false;
    QTest::newRow("with port") << "1.2.3.4:80" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("name") << "localhost" << false;
    QTest::newRow("ipv6") << "::1" << false;
    QTest::newRow("arabic-indic digits") << QStringLiteral("١.٢.٣.٤") << false;
    QTest::newRow("fullwidth digits") << QStringLiteral("１.２.３.４") << false;
}

void TestUtilities::isIpAddress()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(::isIpAddress(text), valid);
}

void TestUtilities::extractNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("numbers");
    QTest::newRow("empty") << "" << QList<int>();
    QTest::newRow("no digits") << "abc" << QList<int>();
    QTest::newRow("two runs") << "a12b3" << QList<int>{12, 3};
    QTest::newRow("sign is not part of a run") << "-5" << QList<int>{5};
    QTest::newRow("leading zeros") << "007" << QList<int>{7};
    QTest::newRow("dotted") << "1.20.300" << QList<int>{1, 20, 300};
    QTest::newRow("reply line") << "Input 12 -> Output 3,4;" << QList<int>{12, 3, 4};
    QTest::newRow("too long for int gives 0")
        << "x99999999999y1" << QList<int>{0, 1};
    QTest::newRow("int max") << "2147483647" << QList<int>{2147483647};
}

void TestUtilities::extractNumbers()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, numbers);
    QCOMPARE(::extractNumbers(text), numbers);
}

void TestUtilities::readFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::newRow("utf-8") << QByteArray("中文\nline two") << QStringLiteral("中文\nline two");
    QTest::newRow("stops at NUL") << QByteArray("abc\0def", 7) << QStringLiteral("abc");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestUtilities::readFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    writeBytes(QStringLiteral("read.txt"), content);
    QCOMPARE(::readFile(QStringLiteral("read.txt")), expected);
    QCOMPARE(::readFile(QStringLiteral("no-such-file.txt")), QString());
    QCOMPARE(::readFile(workDir.path()), QString()); // a folder
}

void TestUtilities::isDirExist_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("exists");
    QTest::newRow("working dir") << "." << true;
    QTest::newRow("relative") << "./Log" << true;
    QTest::newRow("absolute") << QDir::tempPath() << true;
    QTest::newRow("missing") << "./NoSuchFolder" << false;
    QTest::newRow("plain file") << "./plain.txt" << false;
}

void TestUtilities::isDirExist()
{
    QFETCH(QString, path);
    QFETCH(bool, exists);
    QDir().mkpath(QStringLiteral("Log"));
    writeBytes(QStringLiteral("plain.txt"), "x");
    QCOMPARE(::isDirExist(path), exists);
}

void TestUtilities::copyToCharArray_data()
{
    QTest::addColumn<QString>("src");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("expected"); // including the terminating NUL
    QTest::newRow("fits") << "admin" << 100 << QByteArray("admin", 6);
    QTest::newRow("exact fit") << "abc" << 4 << QByteArray("abc", 4);
    QTest::newRow("ascii cut") << "abcdef" << 4 << QByteArray("abc", 4);
    QTest::newRow("empty") << "" << 5 << QByteArray(1, '\0');
    QTest::newRow("size one") << "abc" << 1 << QByteArray(1, '\0');
    QTest::newRow("cjk exact fit") << "中文" << 7 << QByteArray("中文", 7);
    QTest::newRow("cjk cut at character") << "中文" << 6 << QByteArray("中", 4);
    QTest::newRow("cjk no whole character") << "中" << 3 << QByteArray(1, '\0');
    QTest::newRow("four-byte character cut") << QStringLiteral("a😀b") << 5 << QByteArray("a", 2);
    QTest::newRow("four-byte character fits") << QStringLiteral("a😀b") << 6
                                              << QByteArray("a\xF0\x9F\x98\x80", 6);
    QTest::newRow("98 + 1 of 100") << QString(99, QLatin1Char('x')) << 100
                                   << QByteArray(99, 'x') + QByteArray(1, '\0');
    QTest::newRow("100 of 100 cut") << QString(100, QLatin1Char('x')) << 100
                                    << QByteArray(99, 'x') + QByteArray(1, '\0');
}

void TestUtilities::copyToCharArray()
{
    QFETCH(QString, src);
    QFETCH(int, size);
    QFETCH(QByteArray, expected);
    const int guard = 16;
    std::vector<char> buffer(size_t(size + guard), '\x5A');
    ::copyToCharArray(buffer.data(), src, size);
    QCOMPARE(QByteArray(buffer.data(), expected.size()), expected);
    for (int i = size; i < size + guard; ++i)
        QCOMPARE(buffer[size_t(i)], '\x5A');
}

void TestUtilities::copyToCharArrayWritesNothingWithoutRoom()
{
    char buffer[8];
    memset(buffer, 0x5A, sizeof buffer);
    ::copyToCharArray(buffer, QStringLiteral("abc"), 0);
    ::copyToCharArray(buffer, QStringLiteral("abc"), -4);
    QCOMPARE(QByteArray(buffer, 8), QByteArray(8, '\x5A'));
    ::copyToCharArray(nullptr, QStringLiteral("abc"), 8); // must simply return
}

void TestUtilities::moveCenterInGivenArea_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("centred") << QSize(200, 100) << QSize(800, 600) << QPoint(300, 250);
    QTest::newRow("odd difference truncates") << QSize(201, 101) << QSize(800, 600)
                                              << QPoint(299, 249);
    // (100 - 301) / 2 = -100 (toward zero), then made positive.
    QTest::newRow("larger than area") << QSize(301, 151) << QSize(100, 100) << QPoint(100, 25);
    QTest::newRow("only width zero") << QSize(40, 40) << QSize(0, 100) << QPoint(20, 30);
}

void TestUtilities::moveCenterInGivenArea()
{
    QFETCH(QSize, widget);
    QFETCH(QSize, area);
    QFETCH(QPoint, expected);
    QWidget parent;
    parent.resize(1000, 1000);
    QWidget w(&parent);
    w.resize(widget);
    ::moveCenter(&w, area.width(), area.height());
    QCOMPARE(w.pos(), expected);
}

void TestUtilities::moveCenterFallsBackToParentThenDesktop()
{
    QWidget parent;
    parent.resize(400, 300);
    QWidget child(&parent);
    child.resize(100, 50);
    ::moveCenter(&child, 0, 0);
    QCOMPARE(child.pos(), QPoint(150, 125));

    QWidget top;
    top.resize(120, 80);
    ::moveCenter(&top);
    const QSize desktop = QApplication::desktop()->size();
    QVERIFY(desktop.width() > 0);
    QCOMPARE(top.pos(), QPoint(qAbs((desktop.width() - 120) / 2), qAbs((desktop.height() - 80) / 2)));
    ::moveCenter(nullptr); // must simply return
}

void TestUtilities::setSkinDefaultsToApplication()
{
    const QByteArray sheet = "QWidget { color: #102030; }";
    writeBytes(QStringLiteral("skin/qss/default.qss"), sheet);
    {
        QSettings other(QStringLiteral("data/MainConfig.dat"), QSettings::IniFormat);
        other.setValue(QStringLiteral("Main/Kept"), QStringLiteral("yes"));
    }
    ::setSkin(QString(), nullptr);
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8(sheet));
    QCOMPARE(storedSkin(), QStringLiteral("skin/qss/default.qss"));
    QCOMPARE(QSettings(QStringLiteral("data/MainConfig.dat"), QSettings::IniFormat)
                 .value(QStringLiteral("Main/Kept"))
                 .toString(),
             QStringLiteral("yes"));
    qApp->setStyleSheet(QString());
}

// Every style hook that the windows set (object names and "Type" values that no generic rule
// covers) has a rule of its own in the shipped skin. Pages add their hooks here as they arrive.
void TestUtilities::shippedSkinStylesEveryHook_data()
{
    QTest::addColumn<QString>("selector");
    QTest::newRow("card-type dialog") << QStringLiteral("QDialog#SelectCardTypes");
    QTest::newRow("card-type table") << QStringLiteral("[Type=\"SelectCardType\"]");
    QTest::newRow("row-coloured cell widget") << QStringLiteral("[Type=\"BackWidget\"]");
}

void TestUtilities::shippedSkinStylesEveryHook()
{
    QFETCH(QString, selector);
    QFile skin(QString::fromLocal8Bit(qgetenv("VEXILO_SOURCE_DIR")) + QStringLiteral("/runtime/skin/qss/default.qss"));
    QVERIFY(skin.open(QIODevice::ReadOnly));
    // The selector in a rule, not in a comment.
    QString sheet = QString::fromUtf8(skin.readAll());
    sheet.remove(QRegularExpression(QStringLiteral(R"(/\*.*?\*/)"),
                                    QRegularExpression::DotMatchesEverythingOption));
    QVERIFY2(QRegularExpression(QRegularExpression::escape(selector) + QStringLiteral(R"([^{};]*\{)"))
                 .match(sheet).hasMatch(),
             qPrintable(selector));
}

void TestUtilities::setSkinOnWidget_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content"); // empty: the file is not created
    QTest::newRow("named file") << "skin/qss/blue.qss" << QByteArray("QLabel { color: blue; }");
    QTest::newRow("unreadable file still stored") << "skin/qss/missing.qss" << QByteArray();
}

void TestUtilities::setSkinOnWidget()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    if (!content.isEmpty())
        writeBytes(fileName, content);
    QWidget widget;
    widget.setStyleSheet(QStringLiteral("QWidget { color: red; }"));
    ::setSkin(fileName, &widget);
    QCOMPARE(widget.styleSheet(), QString::fromUtf8(content));
    QCOMPARE(qApp->styleSheet(), QString());
    QCOMPARE(storedSkin(), fileName);
}

void TestUtilities::delayKeepsEventsRunning()
{
    bool fired = false;
    QTimer::singleShot(20, this, [&fired] { fired = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    ::delayMs(150);
    QVERIFY2(elapsed.elapsed() >= 150, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY(fired);
}

void TestUtilities::delayWithoutTimeProcessesNothing_data()
{
    QTest::addColumn<int>("ms");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -50;
}

void TestUtilities::delayWithoutTimeProcessesNothing()
{
    QFETCH(int, ms);
    bool fired = false;
    QTimer::singleShot(0, this, [&fired] { fired = true; });
    ::delayMs(ms);
    QVERIFY(!fired);
    QTRY_VERIFY(fired); // the event was only postponed
}

// A confirmed exit ends the waits: the one running returns at once, later ones run nothing,
// until the waits are resumed.
void TestUtilities::endedWaitsReturnAtOnce()
{
    int runningInside = 0;
    QTimer::singleShot(20, this, [&runningInside] {
        runningInside = PumpingWaits::running();
        PumpingWaits::endAll();
    });
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(!::delayMs(60000));
    QVERIFY2(elapsed.elapsed() < 30000, qPrintable(QString::number(elapsed.elapsed())));
    QCOMPARE(runningInside, 1);
    QCOMPARE(PumpingWaits::running(), 0);

    // A box that nobody would answer: a box still open when the waits end is closed, and once
    // they have ended none opens. Should one stay, this answers it with OK after 5 s.
    QTimer answerStrayBox;
    connect(&answerStrayBox, &QTimer::timeout, this, [] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            box->accept();
    });
    answerStrayBox.start(5000);
    PumpingWaits::resume();
    QTimer::singleShot(20, this, [] { PumpingWaits::endAll(); });
    QCOMPARE(showQuestionMessage(QStringLiteral("open when the waits end")), 0);
    QCOMPARE(showQuestionMessage(QStringLiteral("asked once they have ended")), 0);
    QCOMPARE(PumpingWaits::running(), 0);

    // Ended, a delay runs nothing; a settle (the rest of an answer) runs its course.
    bool fired = false;
    QTimer::singleShot(0, this, [&fired] { fired = true; });
    QVERIFY(!::delayMs(100));
    QVERIFY(!fired);
    QVERIFY(::settleMs(10));
    QVERIFY(fired);
    PumpingWaits::resume();
    QVERIFY(::delayMs(10));
}

void TestUtilities::checkTcpConnectLoopback()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
    QVERIFY(::checkTcpConnect(QStringLiteral("127.0.0.1"), server.serverPort(), 2000));

    const quint16 closedPort = server.serverPort();
    server.close();
    QVERIFY(!::checkTcpConnect(QStringLiteral("127.0.0.1"), closedPort, 2000));
}

void TestUtilities::checkTcpConnectRefusedByGuard()
{
    // A loopback SOCKS "proxy" that never answers: should anything try to connect to a remote
    // host, it ends up here instead of on the network, and shows as a pending connection.
    QTcpServer trap;
    QVERIFY(trap.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::Socks5Proxy, QStringLiteral("127.0.0.1"), trap.serverPort()));

    // Every non-loopback host would be dialled through the trap (loopback ones bypass it).
    const QList<QNetworkProxy> route =
        QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(QStringLiteral("192.168.0.178"), 80));
    QVERIFY(!route.isEmpty());
    QCOMPARE(route.first().port(), trap.serverPort());

    for (const char* host : {"192.168.0.178", "10.0.0.1"}) {
        QTest::ignoreMessage(QtCriticalMsg,
                             QRegularExpression(QStringLiteral("refused reachability test to \"%1\"")
                                                    .arg(QLatin1String(host))));
        QVERIFY(!::checkTcpConnect(QLatin1String(host), 80, 3000));
    }
    QVERIFY(!trap.waitForNewConnection(200));
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::NoProxy));
}

void TestUtilities::pingForwardsToSystemPing()
{
    QVERIFY(::ping(QStringLiteral("127.0.0.1"), 3000));

    FakePing fake(QStringLiteral("echo \"64 bytes from 127.0.0.3: icmp_seq=1 ttl=64 time=0.1 ms\""));
    QVERIFY(fake.isReady());
    QVERIFY(::ping(QStringLiteral("127.0.0.3"), 2000));
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("refused ping")));
    QVERIFY(!::ping(QStringLiteral("192.168.0.178"), 2000));
    QCOMPARE(fake.invocations(), QStringList{QStringLiteral("-n -c 1 -W 2 127.0.0.3")});
}

void TestUtilities::languageSwitches()
{
    const auto translate = [] { return QCoreApplication::translate("QPlatformTheme", "OK"); };
    const auto loadedCatalogues = [] {
        QStringList files;
        for (const QTranslator* t : qApp->findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly))
            files << t->filePath();
        return files;
    };
    QCOMPARE(translate(), QStringLiteral("OK"));

    // Loaded by their exact resource names, not through the ".qm" fallback.
    ::setLanguageEnglish();
    QCOMPARE(loadedCatalogues(), QStringList({":/app_en_US", ":/tolvan_en"}));
    QCOMPARE(QApplication::font().family(), QStringLiteral("Arial"));
    QCOMPARE(translate(), QStringLiteral("OK"));

    ::setLanguageSimplifiedChinese();
    QCOMPARE(loadedCatalogues().mid(2),
             QStringList({":/qt_zh_CN", ":/tolvan_zh", ":/app_zh_CN"}));
    QCOMPARE(QApplication::font().family(), QStringLiteral("微软雅黑"));
    QCOMPARE(translate(), QStringLiteral("确定"));

    ::setLanguageTraditionalChinese();
    QCOMPARE(loadedCatalogues().mid(5),
             QStringList({":/qt_zh_TW", ":/tolvan_zh_tw", ":/app_zh_TW"}));
    QCOMPARE(QApplication::font().family(), QStringLiteral("微软雅黑"));
    QCOMPARE(translate(), QStringLiteral("確定"));
}

QTEST_MAIN(TestUtilities)
#include "tst_utilities.moc"
