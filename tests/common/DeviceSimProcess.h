#pragma once

// Starts the simulated devices (devicesim from $VEXILO_BIN_DIR) for one test, on a free port of a
// loopback address, and talks to its control port. Header-only so that every test area can use it.
//
//   DeviceSimProcess sim;
//   QVERIFY2(sim.start({"--pty", "--no-ipcards"}), qPrintable(sim.errorString()));
//   sim.control("reply OK\\r\\n");          // "OK" or "ERR ..."
//   link.connectToDevice(0, sim.address(), sim.port(), {});

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>
#include <QTcpSocket>
#include <QtGlobal>

#include <time.h>

class DeviceSimProcess
{
public:
    DeviceSimProcess() = default;
    DeviceSimProcess(const DeviceSimProcess&) = delete;
    DeviceSimProcess& operator=(const DeviceSimProcess&) = delete;
    ~DeviceSimProcess() { stop(); }

    // Starts devicesim on address (127.0.0.x) with a free matrix port and a free control port, plus
    // extraArgs (e.g. "--pty", "--model", "144", "--no-ipcards", "--no-streams"), and waits for its
    // ready line. False with errorString() when it does not come up.
    bool start(const QStringList& extraArgs = {}, const QString& address = QStringLiteral("127.0.0.1"),
               int timeoutMs = 15000)
    {
        stop();
        const QByteArray binDir = qgetenv("VEXILO_BIN_DIR");
        if (binDir.isEmpty())
            return failWith(QStringLiteral("VEXILO_BIN_DIR is not set"));
        listenAddress = address;
        QStringList args{QStringLiteral("--listen"), address, QStringLiteral("--port"), QStringLiteral("0"),
                         QStringLiteral("--control"), QStringLiteral("0")};
        args += extraArgs;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.setProgram(QString::fromLocal8Bit(binDir) + QStringLiteral("/devicesim"));
        process.setArguments(args);
        process.start();
        if (!process.waitForStarted(timeoutMs))
            return failWith(QStringLiteral("devicesim did not start: %1").arg(process.errorString()));

        QDeadlineTimer deadline(timeoutMs);
        QByteArray out;
        while (!deadline.hasExpired()) {
            if (process.canReadLine()) {
                const QByteArray line = process.readLine().trimmed();
                if (line.startsWith("devicesim ready"))
                    return parseReady(line) && connectControl(deadline);
                continue;
            }
            if (process.state() == QProcess::NotRunning)
                break;
            process.waitForReadyRead(int(qBound<qint64>(1, deadline.remainingTime(), 100)));
        }
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        stop();
        return failWith(QStringLiteral("devicesim not ready: %1").arg(err));
    }

    // Sends one control request and returns its answer line ("OK ..." or "ERR ..."); empty when
    // the control port does not answer within timeoutMs.
    QByteArray control(const QString& line, int timeoutMs = 5000)
    {
        if (controlSocket.state() != QAbstractSocket::ConnectedState)
            return {};
        controlSocket.write(line.toUtf8() + '\n');
        controlSocket.waitForBytesWritten(timeoutMs);
        QDeadlineTimer deadline(timeoutMs);
        while (!controlSocket.canReadLine()) {
            if (deadline.hasExpired() || !controlSocket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
                return {};
        }
        return controlSocket.readLine().trimmed();
    }

    // control() that must answer OK; returns the text after "OK " (empty on failure, see lastAnswer()).
    QByteArray controlOk(const QString& line, bool* ok = nullptr)
    {
        lastControlAnswer = control(line);
        const bool good = lastControlAnswer == "OK" || lastControlAnswer.startsWith("OK ");
        if (ok)
            *ok = good;
        return good ? lastControlAnswer.mid(3) : QByteArray();
    }
    QByteArray lastAnswer() const { return lastControlAnswer; }
    // True when devicesim takes the control request.
    bool accepts(const QString& line)
    {
        bool ok = false;
        controlOk(line, &ok);
        return ok;
    }

    // How many pieces of bytes the matrix has received so far (all clients).
    int receivedCount() { return controlOk(QStringLiteral("received")).toInt(); }

    void stop()
    {
        if (controlSocket.state() == QAbstractSocket::ConnectedState && process.state() == QProcess::Running) {
            controlSocket.write("quit\n");
            controlSocket.waitForBytesWritten(1000);
        }
        controlSocket.abort();
        if (process.state() != QProcess::NotRunning) {
            if (!process.waitForFinished(3000)) {
                process.terminate();
                if (!process.waitForFinished(3000)) {
                    process.kill();
                    process.waitForFinished(3000);
                }
            }
        }
        matrixPort = 0;
        controlPortNumber = 0;
    }

    bool isRunning() const { return process.state() == QProcess::Running; }
    QString address() const { return listenAddress; }
    quint16 port() const { return matrixPort; }
    quint16 controlPort() const { return controlPortNumber; }
    // The pseudo-terminal's slave path (with --pty); follows "devicesim pty=" lines after drops.
    QString ptyPath()
    {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line.startsWith("devicesim pty="))
                slavePath = QString::fromLocal8Bit(line.mid(14));
        }
        return slavePath;
    }
    QString errorString() const { return error; }
    QProcess& rawProcess() { return process; }

    // CLOCK_MONOTONIC in microseconds: the clock of the "received times" control answer.
    static qint64 monotonicMicros()
    {
        timespec ts{};
        ::clock_gettime(CLOCK_MONOTONIC, &ts);
        return qint64(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
    }

private:
    bool failWith(const QString& text)
    {
        error = text;
        return false;
    }

    static quint16 portOf(const QByteArray& hostPort)
    {
        const int colon = hostPort.lastIndexOf(':');
        return colon < 0 ? 0 : quint16(hostPort.mid(colon + 1).toUInt());
    }

    bool parseReady(const QByteArray& line)
    {
        for (const QByteArray& field : line.split(' ')) {
            if (field.startsWith("matrix="))
                matrixPort = portOf(field.mid(7));
            else if (field.startsWith("control="))
                controlPortNumber = portOf(field.mid(8));
            else if (field.startsWith("pty="))
                slavePath = QString::fromLocal8Bit(field.mid(4));
        }
        if (matrixPort == 0 || controlPortNumber == 0)
            return failWith(QStringLiteral("unexpected ready line: %1").arg(QString::fromLocal8Bit(line)));
        return true;
    }

    bool connectControl(const QDeadlineTimer& deadline)
    {
        controlSocket.connectToHost(listenAddress, controlPortNumber);
        if (!controlSocket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            return failWith(QStringLiteral("control port: %1").arg(controlSocket.errorString()));
        return true;
    }

    QProcess process;
    QTcpSocket controlSocket;
    QString listenAddress;
    quint16 matrixPort = 0;
    quint16 controlPortNumber = 0;
    QString slavePath;
    QString error;
    QByteArray lastControlAnswer;
};
