#pragma once

// The logic of a simulated matrix switcher: framing of the byte stream, routes, scenes, card
// lists, card settings and card addresses, and the answers of the text protocol described in
// PROTOCOL.md. The devicesim transport feeds it bytes per client and relays its reports.

#include "MatrixCards.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

struct MatrixConfig
{
    int model = 16;     // ports per side: 4, 8, 16, 32, 64, 96, 128, 144 or 160
    QString inCards;    // one card-type letter per four-port input slot
    QString outCards;   // one card-type letter per four-port output slot
    QString name = QStringLiteral("Vexilo Matrix");
    QString frontPanelVersion = QStringLiteral("2.15");
    QString backPanelVersion = QStringLiteral("3.08");
    bool keyboardLocked = false;
    QHostAddress firstIpCardAddress;   // null: 127.0.0.11
};

class MatrixSimulator : public QObject
{
    Q_OBJECT
public:
    explicit MatrixSimulator(const MatrixConfig& config, QObject* parent = nullptr);

    // How the status query is answered: route lists (one line per input, then "0V" with the
    // outputs without input) or, as some matrices do, one arrow line per output.
    enum class StatusForm { RouteLists, Arrows };

    // Asked once per whole command before it runs: an answer refuses the command, which is then
    // answered with it and changes nothing; none lets it run.
    using Refusal = std::function<std::optional<QByteArray>()>;

    // Bytes received from one client; returns the bytes answered to that client. A partial
    // command is kept per client until its terminator arrives.
    QByteArray receive(int clientId, const QByteArray& bytes, const Refusal& refusal = {});
    void clientGone(int clientId);

    // 0-based input routed to a 0-based output; -1 none, -2 closed.
    int routeOf(int output) const;

    // Loopback addresses of the network processors of the IP input cards (two per card) and
    // of the preview output cards (one per card), in slot order.
    QList<QHostAddress> ipCardAddresses() const;
    QList<QHostAddress> previewCardAddresses() const;
    // An IP processor moved by itself (its own network settings): the address table follows.
    // index is the position in ipCardAddresses().
    void ipCardMoved(int index, const QHostAddress& address);

    int model() const { return ports; }
    QString inCardLetters() const { return cards.inLetters(); }
    QString outCardLetters() const { return cards.outLetters(); }
    QString deviceName() const { return name; }
    QString deviceModelText() const { return modelText; }
    bool isKeyboardLocked() const { return keyboardLocked; }
    bool hasScene(int scene) const { return scenes.contains(scene); }
    StatusForm statusForm() const { return statusAnswer; }
    void setStatusForm(StatusForm form) { statusAnswer = form; }
    // Last value a card setting command stored for a 1-based port ('I' or 'O'), by command word
    // ("InAudio", "OutRes", "EDID", ...; "EDIDCopy" holds the 1-based source output); empty when
    // never set.
    QByteArray portSetting(char side, int port, const QString& word) const;
    // Every setting stored for the port, by command word.
    QMap<QString, QByteArray> portSettings(char side, int port) const;

    // Front-panel actions: they change the state and report to every client.
    void setKeyboardLocked(bool locked);
    bool panelSwitch(int input, int output);   // 1-based; reported as "AV: in->out"
    void panelAllThrough();                    // "All Through."
    void panelOpenAll();                       // closed outputs get their last input back: "Outputs Open."
    void panelFactoryDefault();                // "Factory Default."

signals:
    // Lines that every other connected client receives unsolicited (origin -1: every client).
    void notify(int originClientId, const QByteArray& lines);
    void routeChanged(int output, int input);
    // An address-change command moved an IP processor or a preview card.
    void cardAddressesChanged();

private:
    struct Client
    {
        QByteArray buffer;
        QHash<int, int> ipTurn;   // input slot -> processor (0 or 1) that answers next
    };

    QByteArray execute(Client& client, const QByteArray& body, bool* changed);
    QByteArray executeCardSelect(Client& client, char side, int port, int slot);
    QByteArray executeAddressChange(char side, int port, const quint8 address[4]);
    QByteArray executeSetting(const QByteArray& word, const QList<QByteArray>& args);
    QByteArray executeRouting(const QByteArray& word, const QList<QByteArray>& args, bool* changed);
    QByteArray executeScene(const QByteArray& word, const QList<QByteArray>& args, bool* changed);
    QByteArray executeAddressQuery(Client& client, const QList<QByteArray>& args);

    void setRoute(int output, int input);
    QByteArray statusLines() const;
    QByteArray arrowLines(const QString& head) const;
    bool parsePort(const QByteArray& text, int* port) const;
    bool parsePortList(const QByteArray& text, QList<int>* ports) const;
    bool sceneInRange(int scene) const;
    // Whether the card at a port has what a setting needs (refused otherwise).
    bool cardHas(char side, int port, int needs) const;

    int ports;
    MatrixCards cards;
    QString name;
    QString modelText;
    QString frontVersion;
    QString backVersion;
    bool keyboardLocked;
    StatusForm statusAnswer = StatusForm::RouteLists;
    QVector<int> routes;        // per 0-based output: 0-based input, -1 none, -2 closed
    QVector<int> lastInput;     // input an output had before it was closed
    QMap<int, QVector<int>> scenes;
    QHash<QString, QMap<QString, QByteArray>> settings;   // "<side><port>" -> command word -> value
    QHash<int, Client> clients;
};
