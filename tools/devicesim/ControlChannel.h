#pragma once

// Interface agreed between devicesim's parts: a line-based control port on loopback through which
// tests steer the simulated devices (faults, stream stop/restart, state queries). The owner of
// tools/devicesim/*.cpp implements it; the matrix, IP card and stream parts register commands.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <functional>

class QTcpServer;

class ControlChannel : public QObject
{
    Q_OBJECT
public:
    // Handles one control line split on blanks (args[0] is the command word); returns the answer
    // (without line end). An answer starting with "ERR" reports a refused request.
    using Handler = std::function<QByteArray(const QStringList& args)>;

    explicit ControlChannel(QObject* parent = nullptr);

    // Listens on a loopback address only.
    bool listen(const QHostAddress& address, quint16 port, QString* error = nullptr);
    quint16 port() const;

    void registerCommand(const QString& word, const QString& help, Handler handler);
    QString helpText() const;

    // Runs one line as if it came from the control port (also used by --exec at start-up).
    QByteArray execute(const QString& line);

private:
    struct Entry { QString help; Handler handler; };
    QTcpServer* server = nullptr;
    QList<QPair<QString, Entry>> commands;
};
