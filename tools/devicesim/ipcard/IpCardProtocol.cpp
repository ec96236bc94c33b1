#include "IpCardProtocol.h"

#include "CardFrame.h"
#include "LoginRequestProto.pb.h"

#include <QDateTime>
#include <QStringList>

using namespace com::kiv::protobuf;

namespace {

constexpr quint8 RawBody = 2;
constexpr int MaxBody = 0xFFFF;
const char* const LoginUser = "admin";
const char* const LoginPassword = "quelt";
// Seeded log entries: one an hour from 2024-01-01 00:00 UTC.
constexpr quint64 SeedLogStartMs = 1704067200000ULL;
constexpr int SeedLogEntries = 40;
constexpr int PtzSeenLimit = 1000;

CardReply refuse(quint8 code)
{
    CardReply reply;
    reply.result = code;
    return reply;
}

template <typename Message>
CardReply withBody(const Message& message)
{
    CardReply reply;
    reply.body = QByteArray::fromStdString(message.SerializeAsString());
    if (reply.body.size() > MaxBody)
        return refuse(CardResult::InvalidValue);
    return reply;
}

bool isIpv4(const std::string& text)
{
    const QStringList parts = QString::fromStdString(text).split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || part.isEmpty() || part.size() > 3 || value < 0 || value > 255)
            return false;
    }
    return true;
}

VideoSource camera(const char* name, VideoSource::E_DeviceType type, const QString& addr,
                   int port, int channel)
{
    VideoSource source;
    source.set_name(name);
    source.set_type(type);
    source.set_addr(addr.toStdString());
    source.set_username("admin");
    source.set_password("admin123");
    source.set_mediaport(port);
    source.set_onvifport(80);
    source.set_channel(channel);
    source.set_mainstreamuri(QStringLiteral("rtsp://%1:%2/main").arg(addr).arg(port).toStdString());
    source.set_substreamuri(QStringLiteral("rtsp://%1:%2/sub").arg(addr).arg(port).toStdString());
    return source;
}

// A source's name for the control port: no blanks, commas or colons left in it.
QString encodedName(const VideoSource& source)
{
    return QString::fromLatin1(QByteArray::fromStdString(source.name()).toPercentEncoding());
}

// Panes of a view: one, two, four, nine pictures.
int panesOf(int viewId)
{
    static const int panes[IpCardProtocol::Views] = {1, 2, 4, 9};
    return panes[viewId];
}

} // namespace

IpCardProtocol::IpCardProtocol(const QHostAddress& cardAddress)
    : address(cardAddress)
{
    factoryReset(true);
    seedLog();
}

void IpCardProtocol::factoryReset(bool firmwareToo)
{
    const quint32 v4 = address.toIPv4Address();
    network.Clear();
    network.set_hostaddr(address.toString().toStdString());
    network.set_submask("255.255.255.0");
    network.set_gateway(QHostAddress((v4 & 0xFFFFFF00u) | 1u).toString().toStdString());
    network.set_mac(QStringLiteral("00:1C:27:%1:%2:%3")
                        .arg((v4 >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
                        .arg((v4 >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
                        .arg(v4 & 0xFF, 2, 16, QLatin1Char('0'))
                        .toUpper()
                        .toStdString());
    network.set_dns1("127.0.0.53");
    network.set_dns2("127.0.0.54");
    network.set_httpport(80);
    network.set_tcpport(4002);

    if (firmwareToo || version.isEmpty()) {
        version = QStringLiteral("V2.1.0");
        updateTime = QStringLiteral("2024-01-01 08:00:00");
        lastFirmware.clear();
    }

    sources.Clear();
    VideoSourceGroup* hall = sources.add_videosourcegroups();
    hall->set_groupname("hall");
    *hall->add_videosources() = camera("door", VideoSource::ONVIF, QStringLiteral("127.0.60.1"), 554, 1);
    *hall->add_videosources() = camera("lobby", VideoSource::DAHUA, QStringLiteral("127.0.60.2"), 554, 2);
    VideoSourceGroup* loose = sources.add_videosourcegroups();
    *loose->add_videosources() = camera("yard", VideoSource::RTSP, QStringLiteral("127.0.60.3"), 8554, 3);
    for (VideoSourceGroup& group : *sources.mutable_videosourcegroups())
        for (VideoSource& source : *group.mutable_videosources())
            source.set_saveissuccess(1);

    for (int output = 0; output < Outputs; ++output) {
        appliedView[output] = 0;
        for (int view = 0; view < Views; ++view) {
            views[output][view].Clear();
            views[output][view].set_output(output);
            views[output][view].set_viewid(view);
        }
    }
    *views[0][0].add_videosources() = sources.videosourcegroups(0).videosources(0);
    upload.reset();
}

void IpCardProtocol::seedLog()
{
    static const Log::E_LogType types[] = {Log::Exception, Log::Operation, Log::Info};
    for (int i = 0; i < SeedLogEntries; ++i) {
        Log entry;
        entry.set_type(types[i % 3]);
        entry.set_datatime(SeedLogStartMs + quint64(i) * 3600000ULL);
        entry.set_content(QStringLiteral("记录 %1").arg(i + 1).toStdString());
        log.append(entry);
    }
}

void IpCardProtocol::addLog(Log::E_LogType type, const QString& text)
{
    Log entry;
    entry.set_type(type);
    entry.set_datatime(quint64(QDateTime::currentMSecsSinceEpoch()));
    entry.set_content(text.toStdString());
    log.append(entry);
}

CardReply IpCardProtocol::handle(const CardRequest& request, bool* loggedIn)
{
    switch (request.msgClass) {
    case 0xFD:
        return CardReply();
    case 1:
        return login(request, loggedIn);
    case 2:
    case 3:
    case 4:
        if (!*loggedIn)
            return refuse(CardResult::NotLoggedIn);
        break;
    default:
        return refuse(CardResult::UnknownCommand);
    }
    // Raw bodies carry format 2, every other request 0.
    const bool raw = (request.msgClass == 2 && request.msgCommand == 3)
                     || (request.msgClass == 3 && (request.msgCommand == 4 || request.msgCommand == 8));
    if (request.bodyFormat != (raw ? RawBody : 0))
        return refuse(CardResult::BadRequest);
    if (request.msgClass == 2)
        return action(request);
    if (request.msgClass == 3)
        return query(request);
    return set(request);
}

CardReply IpCardProtocol::login(const CardRequest& request, bool* loggedIn)
{
    LoginRequest credentials;
    if (request.msgCommand != 0 || request.bodyFormat != 0)
        return refuse(CardResult::UnknownCommand);
    if (!credentials.ParseFromArray(request.body.constData(), request.body.size()))
        return refuse(CardResult::BadRequest);
    if (credentials.username() != LoginUser || credentials.password() != LoginPassword) {
        *loggedIn = false;
        addLog(Log::Exception, QStringLiteral("login refused: %1").arg(QString::fromStdString(credentials.username())));
        return refuse(CardResult::LoginRefused);
    }
    *loggedIn = true;
    ++logins;
    addLog(Log::Operation, QStringLiteral("login %1").arg(QString::fromStdString(credentials.username())));
    return CardReply();
}

CardReply IpCardProtocol::action(const CardRequest& request)
{
    const quint8 command = request.msgCommand;
    if (command >= 100 && command <= 109)
        return recordPtz(command, request.body);
    switch (command) {
    case 1: {
        ++restarts;
        addLog(Log::Operation, QStringLiteral("restart"));
        CardReply reply;
        reply.rebootAfterMs = 0;
        return reply;
    }
    case 2: {
        factoryReset();
        ++restarts;
        addLog(Log::Operation, QStringLiteral("factory reset"));
        CardReply reply;
        reply.rebootAfterMs = 0;
        return reply;
    }
    case 3:
        return firmwareChunk(request.body);
    case 4:
        return firmwareStart(request.body);
    case 5:
        return firmwareEnd();
    default:
        return refuse(CardResult::UnknownCommand);
    }
}

CardReply IpCardProtocol::query(const CardRequest& request)
{
    switch (request.msgCommand) {
    case 1:
        return withBody(network);
    case 2: {
        VideoSourceGroup found;
        found.set_groupname("search");
        *found.add_videosources() = camera("onvif-1", VideoSource::ONVIF, QStringLiteral("127.0.61.1"), 554, 1);
        *found.add_videosources() = camera("rtsp-1", VideoSource::RTSP, QStringLiteral("127.0.61.2"), 554, 1);
        VideoSource second = camera("onvif-2", VideoSource::ONVIF, QStringLiteral("127.0.61.3"), 554, 1);
        second.set_onvifport(8080);
        *found.add_videosources() = second;
        *found.add_videosources() = camera("sony-1", VideoSource::SONY, QStringLiteral("127.0.61.4"), 554, 1);
        return withBody(found);
    }
    case 3:
        return withBody(sources);
    case 4:
        return readView(request.body);
    case 5:
        return searchLog(request.body);
    case 7: {
        com::kiv::protobuf::VersionInfo info;
        info.set_version(version.toStdString());
        info.set_updatetime(updateTime.toStdString());
        return withBody(info);
    }
    case 8:
        return readAppliedView(request.body);
    default:
        return refuse(CardResult::UnknownCommand);
    }
}

CardReply IpCardProtocol::set(const CardRequest& request)
{
    switch (request.msgCommand) {
    case 1:
        return saveNetwork(request.body);
    case 3:
        return saveVideoSources(request.body);
    case 4:
        return saveView(request.body);
    case 8:
        return applyView(request.body);
    default:
        return refuse(CardResult::UnknownCommand);
    }
}

CardReply IpCardProtocol::firmwareStart(const QByteArray& body)
{
    // File name (Latin-1, no terminator) followed by the size, 32-bit big-endian.
    if (body.size() < 5)
        return refuse(CardResult::BadRequest);
    const quint32 size = CardBytes::bigEndian32(body.constData() + body.size() - 4);
    const quint64 chunks = (quint64(size) + ChunkSize - 1) / ChunkSize;
    upload.reset();
    if (size == 0 || chunks > 0x10000)
        return refuse(CardResult::UploadSize);
    upload.state = Upload::Receiving;
    upload.name = QString::fromLatin1(body.left(body.size() - 4));
    upload.size = size;
    upload.nextChunk = int(chunks) - 1;
    return CardReply();
}

CardReply IpCardProtocol::firmwareChunk(const QByteArray& body)
{
    if (upload.state != Upload::Receiving)
        return refuse(upload.state == Upload::Failed ? upload.failure : CardResult::NoUpload);
    quint8 failure = 0;
    if (body.size() < 4) {
        failure = CardResult::BadRequest;
    } else {
        const int number = CardBytes::bigEndian16(body.constData());
        const int dataLength = CardBytes::bigEndian16(body.constData() + 2);
        // Chunks are full except the last, so each one's length follows from what is left.
        const quint32 expected = qMin<quint32>(ChunkSize, upload.size - upload.received);
        if (dataLength != body.size() - 4)
            failure = CardResult::BadRequest;
        else if (number != upload.nextChunk)
            failure = CardResult::ChunkNumber;
        else if (quint32(dataLength) != expected)
            failure = CardResult::UploadSize;
        else {
            upload.hash.addData(body.constData() + 4, dataLength);
            upload.received += quint32(dataLength);
            --upload.nextChunk;
            return CardReply();
        }
    }
    upload.state = Upload::Failed;
    upload.failure = failure;
    return refuse(failure);
}

CardReply IpCardProtocol::firmwareEnd()
{
    const Upload::State state = upload.state;
    const quint8 failure = upload.failure;
    const bool complete = upload.received == upload.size && upload.nextChunk == -1;
    if (state == Upload::Idle)
        return refuse(CardResult::NoUpload);
    if (state == Upload::Failed) {
        addLog(Log::Exception, QStringLiteral("upgrade failed: %1").arg(failure));
        upload.reset();
        return refuse(failure);
    }
    if (!complete) {
        addLog(Log::Exception, QStringLiteral("upgrade incomplete: %1 of %2 bytes").arg(upload.received).arg(upload.size));
        upload.reset();
        return refuse(CardResult::UploadSize);
    }
    lastFirmware = QStringLiteral("%1,%2,%3").arg(upload.name).arg(upload.size)
                       .arg(QString::fromLatin1(upload.hash.result().toHex()));
    QString newVersion = upload.name;
    if (newVersion.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive))
        newVersion.chop(4);
    version = newVersion;
    updateTime = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    addLog(Log::Operation, QStringLiteral("upgrade %1").arg(upload.name));
    upload.reset();
    CardReply reply;
    reply.rebootAfterMs = 1000;
    return reply;
}

CardReply IpCardProtocol::searchLog(const QByteArray& body)
{
    LogSearchRequest search;
    if (!search.ParseFromArray(body.constData(), body.size()))
        return refuse(CardResult::BadRequest);
    if (search.type() < Log::All || search.type() > Log::Info)
        return refuse(CardResult::InvalidValue);
    LogSearchResponse found;
    for (const Log& entry : log) {
        if (search.type() != Log::All && entry.type() != search.type())
            continue;
        if (entry.datatime() < search.starttime() || entry.datatime() > search.endtime())
            continue;
        *found.add_logs() = entry;
    }
    // A reply body has a 16-bit length: the newest entries that fit are left out.
    while (found.ByteSizeLong() > size_t(MaxBody))
        found.mutable_logs()->RemoveLast();
    return withBody(found);
}

CardReply IpCardProtocol::saveNetwork(const QByteArray& body)
{
    NetworkConfig config;
    if (!config.ParseFromArray(body.constData(), body.size()))
        return refuse(CardResult::BadRequest);
    for (const std::string* text : {&config.hostaddr(), &config.submask(), &config.gateway(),
                                    &config.dns1(), &config.dns2()}) {
        if (!isIpv4(*text))
            return refuse(CardResult::InvalidValue);
    }
    if (config.httpport() < 1 || config.httpport() > 65535 || config.tcpport() < 1 || config.tcpport() > 65535)
        return refuse(CardResult::InvalidValue);
    const QHostAddress target(QString::fromStdString(config.hostaddr()));
    // The simulated cards live on loopback: any other address is refused as a real card would
    // refuse an address it cannot take.
    if (!target.isLoopback() || target.protocol() != QAbstractSocket::IPv4Protocol)
        return refuse(CardResult::InvalidValue);
    const bool moves = !target.isEqual(address);
    if (moves && addressFree && !addressFree(target))
        return refuse(CardResult::InvalidValue);
    const std::string mac = network.mac();   // the hardware address is the card's own
    network = config;
    network.set_mac(mac);
    addLog(Log::Operation, QStringLiteral("network saved: %1").arg(QString::fromStdString(config.hostaddr())));
    CardReply reply;
    if (moves)
        reply.moveTo = target;
    return reply;
}

CardReply IpCardProtocol::saveVideoSources(const QByteArray& body)
{
    VideoSourceGroupManage list;
    if (!list.ParseFromArray(body.constData(), body.size()))
        return refuse(CardResult::BadRequest);
    // The card reaches a source only when it has a usable address.
    if (!keepSavedFields) {
        for (VideoSourceGroup& group : *list.mutable_videosourcegroups())
            for (VideoSource& source : *group.mutable_videosources())
                source.set_saveissuccess(isIpv4(source.addr()) ? 1 : 0);
    }
    if (list.ByteSizeLong() > size_t(MaxBody))
        return refuse(CardResult::InvalidValue);
    sources = list;
    addLog(Log::Operation, QStringLiteral("video sources saved"));
    return CardReply();
}

CardReply IpCardProtocol::readView(const QByteArray& body)
{
    if (body.size() != 2)
        return refuse(CardResult::BadRequest);
    const int output = quint8(body.at(0));
    const int view = quint8(body.at(1));
    if (output >= Outputs || view >= Views)
        return refuse(CardResult::InvalidValue);
    return withBody(views[output][view]);
}

CardReply IpCardProtocol::readAppliedView(const QByteArray& body)
{
    if (body.size() != 1)
        return refuse(CardResult::BadRequest);
    const int output = quint8(body.at(0));
    if (output >= Outputs)
        return refuse(CardResult::InvalidValue);
    DecoderApply applied;
    applied.set_output(output);
    applied.set_viewid(appliedView[output]);
    return withBody(applied);
}

CardReply IpCardProtocol::saveView(const QByteArray& body)
{
    Decoder decoder;
    if (!decoder.ParseFromArray(body.constData(), body.size()))
        return refuse(CardResult::BadRequest);
    if (decoder.output() < 0 || decoder.output() >= Outputs || decoder.viewid() < 0
        || decoder.viewid() >= Views || decoder.videosources_size() > panesOf(decoder.viewid()))
        return refuse(CardResult::InvalidValue);
    views[decoder.output()][decoder.viewid()] = decoder;
    addLog(Log::Operation, QStringLiteral("view %1 of output %2 saved").arg(decoder.viewid()).arg(decoder.output()));
    return CardReply();
}

CardReply IpCardProtocol::applyView(const QByteArray& body)
{
    DecoderApply apply;
    if (!apply.ParseFromArray(body.constData(), body.size()))
        return refuse(CardResult::BadRequest);
    if (apply.output() < 0 || apply.output() >= Outputs || apply.viewid() < 0 || apply.viewid() >= Views)
        return refuse(CardResult::InvalidValue);
    appliedView[apply.output()] = apply.viewid();
    return CardReply();
}

CardReply IpCardProtocol::recordPtz(quint8 command, const QByteArray& body)
{
    VideoSource source;
    if (!source.ParseFromArray(body.constData(), body.size()))
        return refuse(CardResult::BadRequest);
    ++ptzCount;
    lastPtz = QStringLiteral("%1:%2").arg(command).arg(QString::fromStdString(source.name()));
    ptzSeen.append(QStringLiteral("%1:%2").arg(command).arg(encodedName(source)));
    if (ptzSeen.size() > PtzSeenLimit)
        ptzSeen.removeFirst();
    return CardReply();
}

QByteArray IpCardProtocol::describeViews() const
{
    QStringList items;
    for (int output = 0; output < Outputs; ++output) {
        for (int view = 0; view < Views; ++view) {
            QStringList names;
            for (const VideoSource& source : views[output][view].videosources())
                names << encodedName(source);
            items << QStringLiteral("%1/%2=%3:%4").arg(output).arg(view).arg(names.size()).arg(names.join(QLatin1Char(',')));
        }
    }
    return items.join(QLatin1Char(' ')).toLatin1();
}

bool IpCardProtocol::forceAppliedView(int output, int view)
{
    if (output < 0 || output >= Outputs)
        return false;
    appliedView[output] = view;
    return true;
}

QByteArray IpCardProtocol::describePtz() const
{
    return ptzSeen.join(QLatin1Char(' ')).toLatin1();
}

void IpCardProtocol::setAddress(const QHostAddress& moved)
{
    address = moved;
    network.set_hostaddr(moved.toString().toStdString());
}

void IpCardProtocol::setLogEntries(int count)
{
    static const Log::E_LogType types[] = {Log::Exception, Log::Operation, Log::Info};
    log.clear();
    log.reserve(count);
    // Inside the last six days, so that a search of the past week finds every entry.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 span = 6LL * 24 * 3600 * 1000;
    const qint64 step = count > 0 ? qMax<qint64>(1, qMin<qint64>(60000, span / count)) : 0;
    for (int i = 0; i < count; ++i) {
        Log entry;
        entry.set_type(types[i % 3]);
        entry.set_datatime(quint64(now - (count - i) * step));
        entry.set_content(QStringLiteral("记录 %1").arg(i + 1).toStdString());
        log.append(entry);
    }
}

void IpCardProtocol::fillLogToReplyLimit()
{
    setLogEntries(0);
    LogSearchResponse all;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int i = 0;; ++i) {
        Log entry;
        entry.set_type(Log::Info);
        entry.set_datatime(quint64(now - 3600000 + i));
        entry.set_content(QStringLiteral("full reply entry %1").arg(i + 1, 5, 10, QLatin1Char('0')).toStdString());
        *all.add_logs() = entry;
        if (all.ByteSizeLong() > size_t(MaxBody)) {
            all.mutable_logs()->RemoveLast();
            break;
        }
    }
    // Pad the last entry's text until the reply is exactly full; its length prefixes may grow
    // by a byte on the way, so measure again each time.
    Log* last = all.mutable_logs(all.logs_size() - 1);
    while (all.ByteSizeLong() < size_t(MaxBody)) {
        const size_t missing = size_t(MaxBody) - all.ByteSizeLong();
        last->mutable_content()->append(missing, 'x');
        while (all.ByteSizeLong() > size_t(MaxBody))
            last->mutable_content()->pop_back();
        if (all.ByteSizeLong() < size_t(MaxBody) && missing == size_t(MaxBody) - all.ByteSizeLong())
            break;   // cannot close the gap (a length prefix grew by as much as was added)
    }
    for (const Log& entry : all.logs())
        log.append(entry);
}

void IpCardProtocol::breakFirstSourceName()
{
    for (VideoSourceGroup& group : *sources.mutable_videosourcegroups()) {
        if (group.videosources_size() > 0) {
            group.mutable_videosources(0)->set_name(std::string("\xff\xfe\xc3", 3));
            return;
        }
    }
}

QByteArray IpCardProtocol::describe() const
{
    const char* const uploadStates[] = {"idle", "receiving", "failed"};
    QStringList pairs;
    pairs << QStringLiteral("hostaddr=%1").arg(QString::fromStdString(network.hostaddr()))
          << QStringLiteral("gateway=%1").arg(QString::fromStdString(network.gateway()))
          << QStringLiteral("submask=%1").arg(QString::fromStdString(network.submask()))
          << QStringLiteral("mac=%1").arg(QString::fromStdString(network.mac()))
          << QStringLiteral("tcpport=%1").arg(network.tcpport())
          << QStringLiteral("httpport=%1").arg(network.httpport())
          << QStringLiteral("version=%1").arg(version)
          << QStringLiteral("logins=%1").arg(logins)
          << QStringLiteral("restarts=%1").arg(restarts)
          << QStringLiteral("groups=%1").arg(sources.videosourcegroups_size())
          << QStringLiteral("applied=%1,%2").arg(appliedView[0]).arg(appliedView[1])
          << QStringLiteral("upload=%1").arg(QLatin1String(uploadStates[upload.state]))
          << QStringLiteral("uploaded=%1").arg(upload.received)
          << QStringLiteral("firmware=%1").arg(lastFirmware.isEmpty() ? QStringLiteral("-") : lastFirmware)
          << QStringLiteral("ptz=%1").arg(ptzCount)
          << QStringLiteral("lastptz=%1").arg(lastPtz.isEmpty() ? QStringLiteral("-") : lastPtz)
          << QStringLiteral("logs=%1").arg(log.size());
    return pairs.join(QLatin1Char(' ')).toUtf8();
}
