#include "PreviewStreamFarm.h"

#include "ControlChannel.h"
#include "MatrixSimulator.h"
#include "RtspCardServer.h"

#include <QAbstractEventDispatcher>
#include <QThread>

PreviewStreamFarm::PreviewStreamFarm(QObject* parent) : QObject(parent) {}

PreviewStreamFarm::~PreviewStreamFarm()
{
    stop();
}

bool PreviewStreamFarm::eventLoopRunsGlib()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread());
    return dispatcher && dispatcher->inherits("QEventDispatcherGlib");
}

bool PreviewStreamFarm::start(MatrixSimulator& matrix, quint16 port, QString* error)
{
    // The output slots of the preview cards: letter "e" in the matrix's output card string.
    QList<int> firstOutputs;
    const QString outCards = matrix.outCardLetters();
    for (int slot = 0; slot < outCards.size(); ++slot) {
        if (outCards.at(slot) == QLatin1Char('e'))
            firstOutputs << slot * 4;
    }
    if (!start(matrix.previewCardAddresses(), port, error, firstOutputs))
        return false;
    for (int card = 0; card < int(cards.size()); ++card) {
        for (int channel = 0; channel < RtspCardServer::kChannels; ++channel) {
            const int first = cardFirstOutputs.value(card, -1);
            setChannelInput(card, channel, first >= 0 ? matrix.routeOf(first + channel) : -1);
        }
    }
    connect(&matrix, &MatrixSimulator::routeChanged, this, &PreviewStreamFarm::onRouteChanged,
            Qt::UniqueConnection);
    // A preview card moved to another address: serve it there (its clients are dropped).
    if (!addressWatch) {
        addressWatch = connect(&matrix, &MatrixSimulator::cardAddressesChanged, this, [this, &matrix] {
            if (matrix.previewCardAddresses() == cardAddresses())
                return;
            QString why;
            if (!start(matrix, boundPort, &why))
                qWarning("preview streams: %s", qPrintable(why));
        });
    }
    return true;
}

bool PreviewStreamFarm::start(const QList<QHostAddress>& addresses, quint16 port, QString* error,
                              const QList<int>& firstOutputs)
{
    stop();
    if (!addresses.isEmpty() && !eventLoopRunsGlib()) {
        if (error)
            *error = QStringLiteral("the RTSP server needs Qt's GLib event loop (is QT_NO_GLIB set?)");
        return false;
    }
    quint16 wanted = port;
    for (const QHostAddress& address : addresses) {
        auto server = std::make_unique<RtspCardServer>(address, kind, replayed);
        // The first card may pick a free port; the others share it, as the URLs name one port.
        if (!server->start(wanted, error)) {
            stop();
            return false;
        }
        wanted = server->boundPort();
        cards.push_back(std::move(server));
    }
    boundPort = wanted;
    cardFirstOutputs = firstOutputs;
    for (int card = 0; card < int(cards.size()); ++card) {
        for (int channel = 0; channel < RtspCardServer::kChannels; ++channel)
            setChannelInput(card, channel, -1);
    }
    return true;
}

void PreviewStreamFarm::stop()
{
    cards.clear();
    cardFirstOutputs.clear();
    boundPort = 0;
}

QList<QHostAddress> PreviewStreamFarm::cardAddresses() const
{
    QList<QHostAddress> list;
    for (const auto& c : cards)
        list << c->address();
    return list;
}

QString PreviewStreamFarm::streamUrl(int card, int channel, int stream) const
{
    if (card < 0 || card >= int(cards.size()))
        return QString();
    return QStringLiteral("rtsp://%1:%2%3")
        .arg(cards[size_t(card)]->address().toString())
        .arg(boundPort)
        .arg(RtspCardServer::mountPath(channel, stream));
}

RtspCardServer* PreviewStreamFarm::cardAt(const QHostAddress& address) const
{
    for (const auto& c : cards) {
        if (c->address().isEqual(address, QHostAddress::TolerantConversion))
            return c.get();
    }
    return nullptr;
}

bool PreviewStreamFarm::setStreamRunning(const QHostAddress& address, int channel, int stream, bool running)
{
    RtspCardServer* card = cardAt(address);
    return card && card->setStreamEnabled(channel, stream, running);
}

bool PreviewStreamFarm::setStreamPaused(const QHostAddress& address, int channel, int stream, bool paused)
{
    RtspCardServer* card = cardAt(address);
    return card && card->setStreamPaused(channel, stream, paused);
}

bool PreviewStreamFarm::isStreamRunning(const QHostAddress& address, int channel, int stream) const
{
    RtspCardServer* card = cardAt(address);
    return card && card->isStreamEnabled(channel, stream);
}

void PreviewStreamFarm::setChannelInput(int card, int channel, int input)
{
    if (card < 0 || card >= int(cards.size()))
        return;
    QString text = QStringLiteral("CH%1  ").arg(channel);
    if (cardFirstOutputs.value(card, -1) >= 0) {
        if (input >= 0)
            text += QStringLiteral("IN %1").arg(input + 1);
        else if (input == -2)
            text += QStringLiteral("closed");
        else
            text += QStringLiteral("no input");
    }
    cards[size_t(card)]->setLabel(channel, text.trimmed());
}

QString PreviewStreamFarm::channelLabel(int card, int channel) const
{
    if (card < 0 || card >= int(cards.size()))
        return QString();
    return cards[size_t(card)]->label(channel);
}

int PreviewStreamFarm::clientCount() const
{
    int n = 0;
    for (const auto& c : cards)
        n += c->clientCount();
    return n;
}

void PreviewStreamFarm::onRouteChanged(int output, int input)
{
    for (int card = 0; card < cardFirstOutputs.size() && card < int(cards.size()); ++card) {
        const int first = cardFirstOutputs.at(card);
        if (first >= 0 && output >= first && output < first + RtspCardServer::kChannels)
            setChannelInput(card, output - first, input);
    }
}

void PreviewStreamFarm::registerControls(ControlChannel& channel)
{
    // Requests that name one stream: ADDRESS CHANNEL STREAM.
    struct StreamRequest
    {
        QString word;
        QString help;
        bool (PreviewStreamFarm::*apply)(const QHostAddress&, int, int, bool);
        bool on;
    };
    const QList<StreamRequest> requests{
        {QStringLiteral("stream-stop"), QStringLiteral("drop a preview stream's clients and refuse new ones"),
         &PreviewStreamFarm::setStreamRunning, false},
        {QStringLiteral("stream-start"), QStringLiteral("serve a stopped preview stream again"),
         &PreviewStreamFarm::setStreamRunning, true},
        {QStringLiteral("stream-pause"),
         QStringLiteral("keep a preview stream's clients connected but send them no pictures (a card that hangs)"),
         &PreviewStreamFarm::setStreamPaused, true},
        {QStringLiteral("stream-resume"), QStringLiteral("send a paused preview stream's pictures again"),
         &PreviewStreamFarm::setStreamPaused, false},
    };
    for (const StreamRequest& request : requests) {
        channel.registerCommand(
            request.word, request.word + QStringLiteral(" ADDRESS CHANNEL STREAM: ") + request.help,
            [this, request](const QStringList& args) -> QByteArray {
                QHostAddress address;
                bool okC = false, okS = false;
                const int ch = args.value(2).toInt(&okC);
                const int st = args.value(3).toInt(&okS);
                if (args.size() != 4 || !address.setAddress(args.at(1)) || !okC || !okS)
                    return "ERR usage: " + args.value(0).toUtf8() + " ADDRESS CHANNEL STREAM";
                if (!(this->*request.apply)(address, ch, st, request.on))
                    return "ERR no such stream";
                return "OK";
            });
    }
    channel.registerCommand(QStringLiteral("streams"), QStringLiteral("streams: running:URL, paused:URL or stopped:URL for every preview stream"),
                            [this](const QStringList&) -> QByteArray {
                                QStringList words;
                                for (int card = 0; card < int(cards.size()); ++card) {
                                    for (int c = 0; c < RtspCardServer::kChannels; ++c) {
                                        for (int s = 0; s < RtspCardServer::kStreams; ++s) {
                                            const RtspCardServer& server = *cards[size_t(card)];
                                            const char* state = !server.isStreamEnabled(c, s) ? "stopped:"
                                                                : server.isStreamPaused(c, s) ? "paused:"
                                                                                              : "running:";
                                            words << QLatin1String(state) + streamUrl(card, c, s);
                                        }
                                    }
                                }
                                return "OK " + words.join(QLatin1Char(' ')).toUtf8();
                            });
}
