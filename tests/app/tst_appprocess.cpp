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

    // Starts the copy and waits until its login dialog shows; false when it ended or hung first.
    bool startToLogin()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(dir.filePath(QStringLiteral("vexilo")), QStringList());
        return QTest::qWaitFor([this] {
            errors += process.readAllStandardError();
            return errors.contains("login dialog shown") || process.state() == QProcess::NotRunning;
        }, 20000) && errors.contains("login dialog shown");
    }

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

QTEST_MAIN(TestAppProcess)
#include "tst_appprocess.moc"
