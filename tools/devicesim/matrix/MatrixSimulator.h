#pragma once

// Interface agreed between the devicesim transport (main.cpp, servers) and the matrix logic.
// The owner of tools/devicesim/matrix replaces this placeholder with the real simulator.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

struct MatrixConfig
{
    int model = 16;     // ports per side: 4, 8, 16, 32, 64, 96, 128, 144 or 160
    QString inCards;    // one card-type letter per four-port input slot
    QString outCards;   // one card-type letter per four-port output slot
    QString name = QStringLiteral("Vexilo Matrix");
};

class MatrixSimulator : public QObject
{
    Q_OBJECT
public:
    explicit MatrixSimulator(const MatrixConfig& config, QObject* parent = nullptr);

    // Bytes received from one client; returns the bytes answered to that client. A partial
    // command is kept per client until its terminator arrives.
    QByteArray receive(int clientId, const QByteArray& bytes);
    void clientGone(int clientId);

    // 0-based input routed to a 0-based output; -1 none, -2 closed.
    int routeOf(int output) const;

    // Loopback addresses of the network processors of the IP input cards (two per card) and
    // of the preview output cards (one per card), in slot order.
    QList<QHostAddress> ipCardAddresses() const;
    QList<QHostAddress> previewCardAddresses() const;

signals:
    // Lines that every other connected client receives unsolicited.
    void notify(int originClientId, const QByteArray& lines);
    void routeChanged(int output, int input);
};
