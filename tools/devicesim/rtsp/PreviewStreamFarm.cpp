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
        auto server = std::make_unique<RtspCardServer>(address);
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
    auto parse = [](const QStringList& args, QHostAddress* address, int* ch, int* st) {
        bool okC = false, okS = false;
        if (args.size() != 4 || !address->setAddress(args.at(1)))
            return false;
        *ch = args.at(2).toInt(&okC);
        *st = args.at(3).toInt(&okS);
        return okC && okS;
    };
    for (const bool running : {false, true}) {
        const QString word = running ? QStringLiteral("stream-start") : QStringLiteral("stream-stop");
        channel.registerCommand(
            word,
            word + (running ? QStringLiteral(" ADDRESS CHANNEL STREAM: serve a stopped preview stream again")
                            : QStringLiteral(" ADDRESS CHANNEL STREAM: drop a preview stream's clients and refuse new ones")),
            [this, parse, running](const QStringList& args) -> QByteArray {
                QHostAddress address;
                int ch = 0, st = 0;
                if (!parse(args, &address, &ch, &st))
                    return "ERR usage: " + args.value(0).toUtf8() + " ADDRESS CHANNEL STREAM";
                if (!setStreamRunning(address, ch, st, running))
                    return "ERR no such stream";
                return "OK";
            });
    }
    channel.registerCommand(QStringLiteral("streams"), QStringLiteral("streams: running:URL or stopped:URL for every preview stream"),
                            [this](const QStringList&) -> QByteArray {
                                QStringList words;
                                for (int card = 0; card < int(cards.size()); ++card) {
                                    for (int c = 0; c < RtspCardServer::kChannels; ++c) {
                                        for (int s = 0; s < RtspCardServer::kStreams; ++s) {
                                            words << (cards[size_t(card)]->isStreamEnabled(c, s)
                                                          ? QLatin1String("running:") : QLatin1String("stopped:"))
                                                         + streamUrl(card, c, s);
                                        }
                                    }
                                }
                                return "OK " + words.join(QLatin1Char(' ')).toUtf8();
                            });
}
