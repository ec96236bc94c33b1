// The console as a process: started from a staged program folder, as an operator starts it.
#include "AppTestSupport.h"

#include <QProcess>
#include <QSharedMemory>
#include <QtTest>

namespace {

// A staged copy of the program with a runtime folder of its own (one per simulated user).
struct ProgramCopy
{
    TempWorkDir dir;
    QTemporaryDir runtime;
    QProcess process;
    QByteArray errors;

    bool stage()
    {
        const QString bin = QString::fromLocal8Bit(qgetenv("VEXILO_BIN_DIR"));
        return runtime.isValid() && AppTest::stageRuntime(dir)
               && QFile::copy(bin + QStringLiteral("/vexilo"), dir.filePath(QStringLiteral("vexilo")));
    }

    // Starts the staged program in p as this user; waits until its log (stderr, collected in
    // log) holds marker. False when it ended or hung first.
    bool startUntil(QProcess* p, QByteArray* log, const char* marker)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(dir.filePath(QStringLiteral("vexilo")), QStringList());
        return QTest::qWaitFor([p, log, marker] {
            *log += p->readAllStandardError();
            return log->contains(marker) || p->state() == QProcess::NotRunning;
        }, 20000) && log->contains(marker);
    }

    // Starts the copy and waits until its login dialog shows.
    bool startToLogin() { return startUntil(&process, &errors, "login dialog shown"); }

    ~ProgramCopy()
    {
        process.kill();
        process.waitForFinished(5000);
        // The killed copy leaves its single-instance segment behind, and the file that names it
        // goes with the runtime folder: clear it as its next start would, or it outlives the run
        // and a later key file given the same inode number finds it taken.
        QSharedMemory left;
        left.setNativeKey(runtime.filePath(QStringLiteral("Vexilo.instance")));
        if (left.attach())
            left.detach();
    }
};

} // namespace

class TestAppProcess : public QObject
{
    Q_OBJECT
private slots:
    void startsCleanlyBesideOtherUsersCopy();
    void secondCopyLeavesTheSettingsLocks();
};

// No start-up warning (the scaling attribute set too late, a translation found only through a
// fallback name), a stale key file of the single-instance guard does not lock the copy out, and
// another user's running copy does not either.
void TestAppProcess::startsCleanlyBesideOtherUsersCopy()
{
    ProgramCopy first;
    QVERIFY(first.stage());
    QFile stale(first.runtime.filePath(QStringLiteral("Vexilo.instance")));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    QVERIFY2(first.startToLogin(), first.errors.constData());
    for (const char* warning : {"must be set before QCoreApplication", "catalogue"})
        QVERIFY2(!first.errors.contains(warning), first.errors.constData());

    ProgramCopy otherUser;
    QVERIFY(otherUser.stage());
    QVERIFY2(otherUser.startToLogin(), otherUser.errors.constData());
}

// The copy that holds the single instance removes a settings lock without an owner's name (left
// by a kill); a second copy started while the first runs leaves such a lock alone: it may be one
// that the running copy has just created and not yet filled in.
void TestAppProcess::secondCopyLeavesTheSettingsLocks()
{
    ProgramCopy first;
    QVERIFY(first.stage());
    QVERIFY(first.dir.write(QStringLiteral("data/MainConfig.dat.lock"), QByteArray()));
    QVERIFY2(first.startToLogin(), first.errors.constData());
    QVERIFY(!QFile::exists(first.dir.filePath(QStringLiteral("data/MainConfig.dat.lock"))));
    const QString lock = QStringLiteral("data/ClientConfig.dat.lock");
    QVERIFY(first.dir.write(lock, QByteArray()));

    QProcess second;
    const auto ended = qScopeGuard([&second] {
        second.kill();
        second.waitForFinished(5000);
    });
    QByteArray errors;
    QVERIFY2(first.startUntil(&second, &errors, "another copy of the program is running"), errors.constData());
    QVERIFY(QFile::exists(first.dir.filePath(lock)));
    QVERIFY2(!errors.contains("ClientConfig.dat.lock"), errors.constData());
}

QTEST_MAIN(TestAppProcess)
#include "tst_appprocess.moc"
