// Start-up of the console against the simulated matrix.
//
// 1. From the login dialog's OK to the main window with its start-up sequence finished, for a
//    16 x 16 and a 160 x 160 model, divided by the floor that the console's own fixed waits set:
//    the 200 ms settle after connecting, the fetch's 400 ms pause, the 200 ms settle of each of
//    its seven waited commands, the card-type dialog's 400 ms and the login's 200 ms fade-out,
//    the 100 ms start-up timer, model x 40 ms after the IO status, the 1000 ms pause, and the
//    address query's waited commands (3 per IP input card, 2 per preview card, 200 ms each).
//    Goal: ratio <= 1.2.
// 2. From process start to the login dialog shown, for the real executable in a copy of the
//    program folder (offscreen), several runs; printed in ms (no floor).

#include "app/AppStartup.h"
#include "core/CCHelper.h"
#include "ConsoleDriver.h"
#include "DeviceSimProcess.h"
#include "core/GlobalState.h"
#include "TempWorkDir.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <QThread>

#include <algorithm>

namespace {

QTextStream out(stdout);

bool copyTree(const QString& from, const QString& to)
{
    QDir source(from);
    if (!source.exists() || !QDir().mkpath(to))
        return false;
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.absoluteFilePath(), target)
                          : !QFile::copy(entry.absoluteFilePath(), target))
            return false;
    }
    return true;
}

QString binDir()
{
    const QByteArray env = qgetenv("VEXILO_BIN_DIR");
    return env.isEmpty() ? QStringLiteral(VEXILO_DEFAULT_BIN_DIR) : QString::fromLocal8Bit(env);
}

struct Model
{
    int ports;
    QString inCards;
    QString outCards;
};

int floorMs(const Model& m)
{
    const int ipCards = int(m.inCards.count(QLatin1Char('f')));
    const int previewCards = int(m.outCards.count(QLatin1Char('e')));
    const int login = 200 + 400 + 7 * 200 + 400 + 200;
    const int startup = 100 + m.ports * 40 + 1000 + ipCards * 3 * 200 + previewCards * 2 * 200;
    return login + startup;
}

bool measureLogin(const Model& m, qint64* elapsedMs)
{
    TempWorkDir dir;
    if (!copyTree(binDir() + QStringLiteral("/data"), dir.filePath(QStringLiteral("data")))
        || !copyTree(binDir() + QStringLiteral("/skin"), dir.filePath(QStringLiteral("skin"))))
        return false;
    qputenv("VEXILO_BIN_DIR", binDir().toLocal8Bit());
    DeviceSimProcess sim;
    if (!sim.start({QStringLiteral("--model"), QString::number(m.ports), QStringLiteral("--in-cards"), m.inCards,
                    QStringLiteral("--out-cards"), m.outCards, QStringLiteral("--no-ipcards"),
                    QStringLiteral("--no-streams")})) {
        out << "devicesim: " << sim.errorString() << "\n";
        return false;
    }
    const int modelRow = QList<int>{4, 8, 16, 32, 64, 96, 128, 144, 160}.indexOf(m.ports);
    dir.write(QStringLiteral("data/ClientConfig.dat"),
              QStringLiteral("[DEVICE_INFO]\ndev_addr=%1\ndev_tcp_port=%2\n[CLIENT_INFO]\ndev_type=%3\n")
                  .arg(sim.address()).arg(sim.port()).arg(modelRow).toUtf8());
    QElapsedTimer sinceOk;
    if (!ConsoleDriver::login(QStringLiteral("740261"), &sinceOk))
        return false;
    MainWindow* window = ConsoleDriver::openMainWindow(120000);
    if (!window)
        return false;
    *elapsedMs = sinceOk.elapsed();
    window->setExitConfirmed(true);
    delete window;
    CCHelper::instance()->disConnectToDevice();
    return true;
}

// Process start to login shown: the login dialog logs a line when it is shown, which the message
// handler also writes to standard error.
qint64 measureLaunch()
{
    TempWorkDir dir;
    copyTree(binDir() + QStringLiteral("/data"), dir.filePath(QStringLiteral("data")));
    copyTree(binDir() + QStringLiteral("/skin"), dir.filePath(QStringLiteral("skin")));
    QFile::copy(binDir() + QStringLiteral("/vexilo"), dir.filePath(QStringLiteral("vexilo")));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.path());
    QElapsedTimer timer;
    timer.start();
    process.start(dir.filePath(QStringLiteral("vexilo")), QStringList());
    qint64 shownAt = -1;
    QByteArray seen;
    while (timer.elapsed() < 20000 && shownAt < 0) {
        if (!process.waitForReadyRead(100) && process.state() == QProcess::NotRunning)
            break;
        seen += process.readAll();
        if (seen.contains("login dialog shown"))
            shownAt = timer.elapsed();
    }
    process.kill();
    process.waitForFinished(3000);
    return shownAt;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("VEXILO_LOOPBACK_ONLY", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QDir::setCurrent(QDir::tempPath());
    g_languageIndex = 2;

    const QList<Model> models = {
        {16, QStringLiteral("afbi"), QStringLiteral("aezk")},
        {160, QStringLiteral("af") + QString(38, QLatin1Char('a')), QStringLiteral("ae") + QString(38, QLatin1Char('a'))},
    };
    bool allMet = true;
    out << "login OK -> main window started (ms), floor = the console's own fixed waits\n";
    for (const Model& m : models) {
        qint64 elapsed = 0;
        if (!measureLogin(m, &elapsed)) {
            out << m.ports << "x" << m.ports << ": FAILED\n";
            allMet = false;
            continue;
        }
        const double ratio = double(elapsed) / floorMs(m);
        allMet = allMet && ratio <= 1.2;
        out << QStringLiteral("%1x%1: %2 ms, floor %3 ms, ratio %4 (goal <= 1.2: %5)\n")
                   .arg(m.ports).arg(elapsed).arg(floorMs(m)).arg(ratio, 0, 'f', 3)
                   .arg(ratio <= 1.2 ? "met" : "NOT met");
        out.flush();
    }

    QList<qint64> launches;
    for (int i = 0; i < 5; ++i) {
        const qint64 ms = measureLaunch();
        if (ms >= 0)
            launches << ms;
    }
    std::sort(launches.begin(), launches.end());
    if (launches.isEmpty())
        out << "process start -> login shown: FAILED\n";
    else
        out << QStringLiteral("process start -> login shown: median %1 ms, min %2 ms, max %3 ms (%4 runs)\n")
                   .arg(launches.at(launches.size() / 2)).arg(launches.first()).arg(launches.last())
                   .arg(launches.size());
    return allMet && !launches.isEmpty() ? 0 : 1;
}
