#pragma once

#include "FaultInjector.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>

class ClientLink;
class ControlChannel;
class MatrixSimulator;
class PtyClientLink;
class QTcpServer;

// Carries the matrix's byte stream: TCP clients and the pseudo-terminal feed MatrixSimulator,
// its answers go back through the armed faults, its notifications to every other client.
// Every received piece is logged with its arrival time for tests and benchmarks.
class MatrixTransport : public QObject
{
    Q_OBJECT
public:
    MatrixTransport(MatrixSimulator& matrix, QObject* parent = nullptr);
    ~MatrixTransport() override;

    bool listen(const QHostAddress& address, quint16 port, QString* error);
    quint16 port() const;
    bool openPty(const QString& symlinkPath, QString* error);
    QString ptyPath() const;

    void registerControls(ControlChannel& channel);

signals:
    void ptyPathChanged(const QString& path);

private:
    struct Receipt { qint64 micros; int clientId; QByteArray bytes; };

    void attach(ClientLink* link);
    void onReceived(ClientLink* link, const QByteArray& bytes);
    void deliver(ClientLink* link, const QByteArray& answer, const FaultInjector::Plan& plan);
    // False after dropping a client that left more than the bound unread.
    bool keepsUp(ClientLink* link);
    void relay(int originClientId, const QByteArray& lines);
    void broadcast(const QByteArray& bytes);
    QByteArray receivedControl(const QStringList& args);
    QByteArray statusFormControl(const QStringList& args);

    MatrixSimulator& matrix;
    FaultInjector faults;
    QTcpServer* server = nullptr;
    QList<QPointer<ClientLink>> links;
    PtyClientLink* pty = nullptr;
    int nextClientId = 1;
    QList<Receipt> receipts;
};
