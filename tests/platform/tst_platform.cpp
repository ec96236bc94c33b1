// The OS adaptations: loopback guard, system ping, single-instance guard, language value.
#include "FakePing.h"
#include "platform/LanguageSetting.h"
#include "platform/LocalCodePage.h"
#include "platform/LoopbackGuard.h"
#include "platform/SingleInstance.h"
#include "platform/SystemPing.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSettings>
#include <QSharedMemory>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Modes in which this executable runs as a helper process of the single-instance tests.
const char* const kOrphanEnv = "VEXILO_TEST_ORPHAN_SEGMENT"; // create the segment, die at once
const char* const kHolderEnv = "VEXILO_TEST_HOLD_SEGMENT";   // hold it until stdin closes

// A sanitised helper starting on a loaded machine may take seconds; the waits end as soon as
// the helper does, so a generous bound costs nothing when all is well.
const int kHelperWaitMs = 30000;

QString uniqueKey(const char* what)
{
    return QStringLiteral("vexilo-test-%1-%2").arg(QLatin1String(what)).arg(QCoreApplication::applicationPid());
}

QProcessEnvironment helperEnvironment(const char* mode, const QString& key,
                                      const QString& runtimeDir = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(mode), key);
    if (!runtimeDir.isEmpty())
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    return environment;
}

// Starts a helper that holds the segment until its standard input closes. Empty once it says it
// holds the segment; else what it said and how it ended.
QString startHolder(QProcess& holder, const QString& key, const QString& runtimeDir = QString())
{
    holder.setProcessEnvironment(helperEnvironment(kHolderEnv, key, runtimeDir));
    holder.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!holder.waitForStarted(kHelperWaitMs))
        return QStringLiteral("not started: ") + holder.errorString();
    // A read may bring part of the line: judge it only once it is whole or the helper is gone.
    const QDeadlineTimer deadline(kHelperWaitMs);
    while (!holder.canReadLine() && holder.state() == QProcess::Running && !deadline.hasExpired())
        holder.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    const QByteArray said = holder.canReadLine() ? holder.readLine() : holder.readAll();
    if (said.trimmed() == "holding")
        return QString();
    return QStringLiteral("helper said \"%1\" (state %2, exit code %3): %4")
        .arg(QString::fromLocal8Bit(said)).arg(holder.state()).arg(holder.exitCode())
        .arg(QString::fromLocal8Bit(holder.readAllStandardError()));
}

// Runs a helper that creates the segment and dies without releasing it.
bool leaveOrphanedSegment(const QString& key)
{
    QProcess crashing;
    crashing.setProcessEnvironment(helperEnvironment(kOrphanEnv, key));
    crashing.start(QCoreApplication::applicationFilePath(), QStringList());
    return crashing.waitForFinished(kHelperWaitMs) && crashing.exitStatus() == QProcess::NormalExit
        && crashing.exitCode() == 0;
}

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

bool segmentExists(const QString& key)
{
    // create() fails without touching a segment that is there; attach() + detach() could
    // destroy an orphaned one.
    QSharedMemory check;
    check.setNativeKey(SingleInstance::nativeKeyOf(key));
    if (check.create(1)) {
        check.detach();
        return false;
    }
    return check.error() == QSharedMemory::AlreadyExists;
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void isLoopbackHost_data();
    void isLoopbackHost();
    void mayDialFollowsTheGuard();

    void pingLoopback();
    void pingRefusesWithoutStartingProcess_data();
    void pingRefusesWithoutStartingProcess();
    void pingJudgesOutput_data();
    void pingJudgesOutput();

    void secondHolderIsRefused();
    void liveHolderInAnotherProcessIsKept();
    void crashedHolderDoesNotBlock();
    void orphanUnderARemovedKeyFileDoesNotBlock();
    void staleKeyFileDoesNotBlock();
    void otherUsersCopyDoesNotBlock();

    void languageRoundTrip();

    void deviceCodePageCells_data();
    void deviceCodePageCells();

private:
    QTemporaryDir configHome;
    QTemporaryDir runtimeHome;
};

void TestPlatform::initTestCase()
{
    QVERIFY(configHome.isValid());
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    QVERIFY(runtimeHome.isValid());
    qputenv("XDG_RUNTIME_DIR", runtimeHome.path().toUtf8());
    LoopbackGuard::setActiveForTesting(true);
}

void TestPlatform::isLoopbackHost_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("loopback");
    QTest::newRow("127.0.0.1") << "127.0.0.1" << true;
    QTest::newRow("127.x high") << "127.255.255.254" << true;
    QTest::newRow("127.0.0.5") << "127.0.0.5" << true;
    QTest::newRow("blanks around") << " 127.0.0.1 " << true;
    QTest::newRow("::1") << "::1" << true;
    QTest::newRow("[::1]") << "[::1]" << true;
    QTest::newRow("mapped v4 loopback") << "::ffff:127.0.0.1" << true;
    QTest::newRow("localhost") << "localhost" << true;
    QTest::newRow("LOCALHOST") << "LOCALHOST" << true;
    // Not in /etc/hosts: the resolver would ask DNS for it.
    QTest::newRow("sub.localhost") << "matrix.localhost" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("default matrix address") << "192.168.0.178" << false;
    QTest::newRow("10/8") << "10.0.0.1" << false;
    QTest::newRow("172.16/12") << "172.16.0.1" << false;
    QTest::newRow("public") << "8.8.8.8" << false;
    QTest::newRow("any address") << "0.0.0.0" << false;
    QTest::newRow("mapped v4 private") << "::ffff:192.168.0.178" << false;
    QTest::newRow("v6 link-local") << "fe80::1" << false;
    QTest::newRow("v6 any") << "::" << false;
    QTest::newRow("public name") << "example.com" << false;
    QTest::newRow("localhost as prefix") << "localhost.example.com" << false;
    QTest::newRow("loopback text as prefix") << "127.0.0.1.example.com" << false;
    QTest::newRow("suffix trick") << "evillocalhost" << false;
}

void TestPlatform::isLoopbackHost()
{
    QFETCH(QString, host);
    QFETCH(bool, loopback);
    QCOMPARE(LoopbackGuard::isLoopbackHost(host), loopback);
}

void TestPlatform::mayDialFollowsTheGuard()
{
    QVERIFY(LoopbackGuard::mayDial(QStringLiteral("127.0.0.1"), "test"));
    QTest::ignoreMessage(QtCriticalMsg,
                         "Loopback guard: refused test to \"10.0.0.1\" (only 127.0.0.0/8 may be dialled)");
    QVERIFY(!LoopbackGuard::mayDial(QStringLiteral("10.0.0.1"), "test"));

    // Without the guard nothing is refused (only asked here, never dialled).
    LoopbackGuard::setActiveForTesting(false);
    QVERIFY(LoopbackGuard::mayDial(QStringLiteral("10.0.0.1"), "test"));
    LoopbackGuard::setActiveForTesting(true);
    QVERIFY(LoopbackGuard::isActive());
}

void TestPlatform::pingLoopback()
{
    QVERIFY(SystemPing::ping(QStringLiteral("127.0.0.1"), 3000));
}

void TestPlatform::pingRefusesWithoutStartingProcess_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<bool>("guardRefuses");
    QTest::newRow("default matrix address") << "192.168.0.178" << true;
    QTest::newRow("10/8") << "10.0.0.1" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("name") << "localhost" << false;
    QTest::newRow("ipv6") << "::1" << false;
    QTest::newRow("octet 256") << "256.1.1.1" << false;
    QTest::newRow("trailing newline") << "127.0.0.1\n" << false;
    QTest::newRow("extra option") << "127.0.0.1 -c 5" << false;
    QTest::newRow("shell text") << "127.0.0.1;reboot" << false;
    QTest::newRow("option only") << "-f" << false;
}

void TestPlatform::pingRefusesWithoutStartingProcess()
{
    QFETCH(QString, ip);
    QFETCH(bool, guardRefuses);
    // The scripted ping would answer: a refusal shows only if it is never started.
    FakePing fake(QStringLiteral("echo '64 bytes from x: icmp_seq=1 ttl=64 time=0.1 ms'"));
    QVERIFY(fake.isReady());
    if (guardRefuses)
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("refused ping")));
    QVERIFY(!SystemPing::ping(ip, 1000));
    QCOMPARE(fake.invocations(), QStringList());

    // The same scripted command does answer for a permitted address.
    QVERIFY(SystemPing::ping(QStringLiteral("127.0.0.2"), 1000));
    QCOMPARE(fake.invocations(), QStringList{QStringLiteral("-n -c 1 -W 1 127.0.0.2")});
}

void TestPlatform::pingJudgesOutput_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("arguments");
    QTest::newRow("reply line")
        << "echo '64 bytes from 127.0.0.2: icmp_seq=1 ttl=64 time=0.04 ms'" << 2000 << true
        << "-n -c 1 -W 2 127.0.0.2";
    QTest::newRow("upper-case field") << "echo 'Reply from 127.0.0.2: bytes=32 time<1ms TTL=128'"
                                      << 2500 << true << "-n -c 1 -W 3 127.0.0.2";
    QTest::newRow("header first, reply later")
        << "echo 'PING 127.0.0.2 (127.0.0.2) 56(84) bytes of data.'; sleep 0.3; "
           "echo '64 bytes from 127.0.0.2: icmp_seq=1 ttl=64 time=0.04 ms'"
        << 2000 << true << "-n -c 1 -W 2 127.0.0.2";
    QTest::newRow("unreachable")
        << "echo 'From 127.0.0.2 icmp_seq=1 Destination Host Unreachable'; exit 1" << 2000 << false
        << "-n -c 1 -W 2 127.0.0.2";
    QTest::newRow("TTL expired is no answer")
        << "echo 'Reply from 127.0.0.2: TTL expired in transit.'; exit 1" << 2000 << false
        << "-n -c 1 -W 2 127.0.0.2";
    // The wait leaves the shell time to log its arguments even on a loaded machine.
    QTest::newRow("answer after the wait")
        << "sleep 6; echo '64 bytes from 127.0.0.2: icmp_seq=1 ttl=64'" << 2000 << false
        << "-n -c 1 -W 2 127.0.0.2";
}

void TestPlatform::pingJudgesOutput()
{
    QFETCH(QString, script);
    QFETCH(int, timeoutMs);
    QFETCH(bool, answered);
    QFETCH(QString, arguments);
    FakePing fake(script);
    QVERIFY(fake.isReady());
    QCOMPARE(SystemPing::ping(QStringLiteral("127.0.0.2"), timeoutMs), answered);
    QCOMPARE(fake.invocations(), QStringList{arguments});
}

void TestPlatform::secondHolderIsRefused()
{
    const QString key = uniqueKey("second");
    SingleInstance first(key);
    SingleInstance second(key);
    QCOMPARE(first.acquire(), SingleInstance::Acquired);
    QCOMPARE(second.acquire(), SingleInstance::AlreadyRunning);
    QCOMPARE(first.acquire(), SingleInstance::Acquired); // asking again keeps it
    QCOMPARE(second.acquire(), SingleInstance::AlreadyRunning);
    first.release();
    QCOMPARE(second.acquire(), SingleInstance::Acquired);
}

void TestPlatform::liveHolderInAnotherProcessIsKept()
{
    const QString key = uniqueKey("live");
    QProcess holder;
    const QString failure = startHolder(holder, key);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    SingleInstance instance(key);
    QCOMPARE(instance.acquire(), SingleInstance::AlreadyRunning);
    QVERIFY(segmentExists(key)); // the stale-segment clean-up left the live one alone

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(kHelperWaitMs));
    QCOMPARE(instance.acquire(), SingleInstance::Acquired);
}

void TestPlatform::crashedHolderDoesNotBlock()
{
    const QString key = uniqueKey("orphan");
    QVERIFY(leaveOrphanedSegment(key));
    QVERIFY(segmentExists(key)); // left behind by the dead process

    SingleInstance instance(key);
    QCOMPARE(instance.acquire(), SingleInstance::Acquired);
    SingleInstance other(key);
    QCOMPARE(other.acquire(), SingleInstance::AlreadyRunning);
}

// A crashed copy's segment whose key file was removed (its runtime folder cleaned) is found again
// by a new key file that reuses the inode: it must not pass for a running copy.
void TestPlatform::orphanUnderARemovedKeyFileDoesNotBlock()
{
    const QString orphanKey = uniqueKey("removed");
    QVERIFY(leaveOrphanedSegment(orphanKey));
    const QString orphanFile = SingleInstance::nativeKeyOf(orphanKey);
    const ino_t inode = inodeOf(orphanFile);
    const key_t orphanSegment = ::ftok(QFile::encodeName(orphanFile).constData(), 'Q');
    QVERIFY(QFile::remove(orphanFile));

    const QString key = uniqueKey("reused");
    SingleInstance instance(key);
    const SingleInstance::Result result = instance.acquire();
    if (inodeOf(SingleInstance::nativeKeyOf(key)) != inode) {
        instance.release();
        // No key file leads to the orphan any more: remove it by the key it was made under.
        const int id = ::shmget(orphanSegment, 0, 0);
        if (id >= 0)
            ::shmctl(id, IPC_RMID, nullptr);
        QSKIP("the file system gave the new key file another inode");
    }
    QCOMPARE(result, SingleInstance::Acquired);
    SingleInstance other(key);
    QCOMPARE(other.acquire(), SingleInstance::AlreadyRunning);
}

void TestPlatform::staleKeyFileDoesNotBlock()
{
    const QString key = uniqueKey("keyfile");
    QFile stale(SingleInstance::nativeKeyOf(key));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance instance(key);
    QCOMPARE(instance.acquire(), SingleInstance::Acquired);
    SingleInstance other(key);
    QCOMPARE(other.acquire(), SingleInstance::AlreadyRunning);
}

// Each user has a runtime folder of their own: a copy running for another one does not count.
void TestPlatform::otherUsersCopyDoesNotBlock()
{
    const QString key = uniqueKey("user");
    QTemporaryDir otherRuntime;
    QVERIFY(otherRuntime.isValid());
    QProcess holder;
    const QString failure = startHolder(holder, key, otherRuntime.path());
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    SingleInstance instance(key);
    QCOMPARE(instance.acquire(), SingleInstance::Acquired);
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(kHelperWaitMs));
}

void TestPlatform::languageRoundTrip()
{
    QCOMPARE(LanguageSetting::read(), QString());
    LanguageSetting::write(QStringLiteral("zh_TW"));
    QCOMPARE(LanguageSetting::read(), QStringLiteral("zh_TW"));
    LanguageSetting::write(QStringLiteral("en_US"));
    QCOMPARE(LanguageSetting::read(), QStringLiteral("en_US"));

    // Stored in the user's own configuration folder, nowhere else.
    const QString file = configHome.filePath(QStringLiteral("KIV/Vexilo.conf"));
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(QSettings(file, QSettings::IniFormat).value(QStringLiteral("Language")).toString(),
             QStringLiteral("en_US"));
}

void TestPlatform::deviceCodePageCells_data()
{
    QTest::addColumn<QByteArray>("cell");   // as the converter decodes it
    QTest::addColumn<bool>("carried");
    QTest::newRow("row 2 gap (GBK roman)") << QByteArray("\xa2\xa1") << false;
    QTest::newRow("row 2 first") << QByteArray("\xa2\xb1") << true;
    QTest::newRow("row 9 end") << QByteArray("\xa9\xf0") << false;
    QTest::newRow("empty row AA (private use)") << QByteArray("\xaa\xa1") << false;
    QTest::newRow("row D7 last") << QByteArray("\xd7\xf9") << true;
    QTest::newRow("row D7 end") << QByteArray("\xd7\xfa") << false;
    QTest::newRow("last hanzi") << QByteArray("\xf7\xfe") << true;
    QTest::newRow("GBK lead below A1") << QByteArray("\x81\x40") << false;
}

void TestPlatform::deviceCodePageCells()
{
    QFETCH(QByteArray, cell);
    QFETCH(bool, carried);
    const QString character = LocalCodePage::decode(cell);
    QCOMPARE(LocalCodePage::isEncodable(character), carried);
    QCOMPARE(LocalCodePage::unencodable(QStringLiteral("a") + character + character + QStringLiteral("b")),
             carried ? QStringList() : QStringList{character});
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kOrphanEnv)) {
        auto* instance = new SingleInstance(qEnvironmentVariable(kOrphanEnv));
        // No destructor runs: the segment stays as after a crash.
        _exit(instance->acquire() == SingleInstance::Acquired ? 0 : 3);
    }
    if (qEnvironmentVariableIsSet(kHolderEnv)) {
        SingleInstance instance(qEnvironmentVariable(kHolderEnv));
        if (instance.acquire() != SingleInstance::Acquired)
            return 3;
        std::puts("holding");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform.moc"
