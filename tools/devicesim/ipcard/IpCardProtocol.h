#pragma once

// What one simulated IP card answers: its stored settings, video sources, decoder views, log,
// firmware upload and recorded pan-tilt requests. No sockets here; SimulatedIpCard frames
// the requests and replies.

#include "DecoderProto.pb.h"
#include "LogProto.pb.h"
#include "NetworkConfigProto.pb.h"
#include "VideoSourceProto.pb.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The card's own result codes (1 = success), chosen apart from the console's link codes.
namespace CardResult {
constexpr quint8 Ok = 1;
constexpr quint8 BadRequest = 2;         // malformed body or wrong body format
constexpr quint8 NotLoggedIn = 3;
constexpr quint8 LoginRefused = 4;
constexpr quint8 UnknownCommand = 5;
constexpr quint8 NoUpload = 6;           // chunk or end without a started upload
constexpr quint8 ChunkNumber = 7;        // chunk out of the count-down order
constexpr quint8 UploadSize = 8;         // data beyond, or short of, the announced size
constexpr quint8 InvalidValue = 9;       // well-formed request with a value the card refuses
} // namespace CardResult

struct CardRequest
{
    quint8 msgClass = 0;
    quint8 msgCommand = 0;
    quint8 bodyFormat = 0;
    QByteArray body;
};

struct CardReply
{
    quint8 result = CardResult::Ok;
    QByteArray body;
    int rebootAfterMs = -1;   // >= 0: the card drops its connections that long after replying
    QHostAddress moveTo;      // not null: the card answers on this address from now on
};

class IpCardProtocol
{
public:
    static constexpr int ChunkSize = 10240;
    static constexpr int Outputs = 2;
    static constexpr int Views = 4;

    explicit IpCardProtocol(const QHostAddress& address);

    // One request of a connection; loggedIn is that connection's login state.
    CardReply handle(const CardRequest& request, bool* loggedIn);

    // Back to the factory settings (request 2/2); the installed firmware stays unless
    // asked otherwise, as on a real card.
    void factoryReset(bool firmwareToo = false);

    // "key=value" pairs describing the state, for the control port.
    QByteArray describe() const;
    // What each decoder view holds: "<output>/<view>=<count>:<name>,<name>..." per view, names
    // percent-encoded (an empty source gives an empty name).
    QByteArray describeViews() const;
    // The pan-tilt requests received, oldest first: "<command>:<source name>", names
    // percent-encoded.
    QByteArray describePtz() const;
    void forgetPtz() { ptzSeen.clear(); }
    // The view an output reports as applied, whatever the value: a card in a state no console
    // can show.
    bool forceAppliedView(int output, int view);

    // The card has moved to another address (its own settings or the matrix's table).
    void setAddress(const QHostAddress& moved);
    // Asked before the card agrees to move to another address; without it every address is free.
    void setAddressCheck(std::function<bool(const QHostAddress&)> isFree) { addressFree = std::move(isFree); }
    // Saved video sources keep fields 12-14 as received instead of the card's own connection state.
    void setKeepSavedFields(bool keep) { keepSavedFields = keep; }
    // Replaces the log with count entries spread over the last days, newest last.
    void setLogEntries(int count);
    // Replaces the log with as many entries as make a search for all of them exactly one full
    // reply body (65535 bytes).
    void fillLogToReplyLimit();
    // The name of the first video source becomes bytes that are not UTF-8: a reply a console
    // cannot parse as the schema demands.
    void breakFirstSourceName();

private:
    CardReply login(const CardRequest& request, bool* loggedIn);
    CardReply action(const CardRequest& request);
    CardReply query(const CardRequest& request);
    CardReply set(const CardRequest& request);

    CardReply firmwareStart(const QByteArray& body);
    CardReply firmwareChunk(const QByteArray& body);
    CardReply firmwareEnd();
    CardReply searchLog(const QByteArray& body);
    CardReply saveNetwork(const QByteArray& body);
    CardReply saveVideoSources(const QByteArray& body);
    CardReply readView(const QByteArray& body);
    CardReply readAppliedView(const QByteArray& body);
    CardReply saveView(const QByteArray& body);
    CardReply applyView(const QByteArray& body);
    CardReply recordPtz(quint8 command, const QByteArray& body);

    void addLog(com::kiv::protobuf::Log::E_LogType type, const QString& text);
    void seedLog();

    struct Upload
    {
        enum State { Idle, Receiving, Failed };
        State state = Idle;
        QString name;
        quint32 size = 0;
        quint32 received = 0;
        int nextChunk = -1;
        quint8 failure = 0;
        QCryptographicHash hash{QCryptographicHash::Sha1};

        void reset()
        {
            state = Idle;
            name.clear();
            size = received = 0;
            nextChunk = -1;
            failure = 0;
            hash.reset();
        }
    };

    QHostAddress address;
    std::function<bool(const QHostAddress&)> addressFree;
    bool keepSavedFields = false;
    com::kiv::protobuf::NetworkConfig network;
    QString version;
    QString updateTime;
    com::kiv::protobuf::VideoSourceGroupManage sources;
    com::kiv::protobuf::Decoder views[Outputs][Views];
    int appliedView[Outputs] = {0, 0};
    QList<com::kiv::protobuf::Log> log;
    Upload upload;
    QString lastFirmware;   // "name,size,sha1" of the last upload that ended well
    int ptzCount = 0;
    QString lastPtz;        // "command:source name"
    QStringList ptzSeen;    // the latest ones, "command:encoded name"
    int logins = 0;
    int restarts = 0;
};
