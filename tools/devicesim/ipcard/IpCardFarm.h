#pragma once

// The simulated IP cards (network processors) of the matrix, one per loopback address.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QStringList>

class ControlChannel;
class SimulatedIpCard;

class IpCardFarm : public QObject
{
    Q_OBJECT
public:
    explicit IpCardFarm(QObject* parent = nullptr);

    // Starts a card on every address (loopback only), each listening on port (0: any free
    // port, see portOf). Call it in the thread the farm lives in.
    bool start(const QList<QHostAddress>& addresses, quint16 port = 4002, QString* error = nullptr);

    // Adds the command "ipcard" (faults, state) to the control port.
    void registerControls(ControlChannel& channel);

    // Runs one "ipcard" command; args exclude the command word. Safe from any thread: the
    // work is done in the farm's thread. Answers start with "OK" or "ERR".
    QByteArray control(const QStringList& args);
    QByteArray control(const QString& line);

    quint16 portOf(const QHostAddress& address) const;
    static QString helpText();

    // The matrix's address table changed: each card whose entry (same position as at start())
    // holds another address moves there.
    void followAddresses(const QList<QHostAddress>& addresses);

signals:
    // A card moved itself (its network settings were saved); index is its position at start().
    void cardMoved(int index, const QHostAddress& address);

private:
    QByteArray runControl(const QStringList& args);
    QList<SimulatedIpCard*> select(const QString& which) const;

    QList<SimulatedIpCard*> cards;
};
