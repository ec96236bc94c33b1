#pragma once

// Interface agreed with devicesim's main: one simulated IP card (network processor) per address.
// The owner of tools/devicesim/ipcard replaces this placeholder.

#include <QHostAddress>
#include <QList>
#include <QObject>

class ControlChannel;

class IpCardFarm : public QObject
{
    Q_OBJECT
public:
    explicit IpCardFarm(QObject* parent = nullptr) : QObject(parent) {}

    // Starts a card on every address (loopback only), each listening on port.
    bool start(const QList<QHostAddress>& addresses, quint16 port = 4002, QString* error = nullptr)
    {
        Q_UNUSED(addresses) Q_UNUSED(port) Q_UNUSED(error)
        return true;
    }

    // Adds the cards' control commands (faults etc.) to the control port.
    void registerControls(ControlChannel& channel) { Q_UNUSED(channel) }
};
