#include "DecoderProto.pb.h"
#include "ipcard/link/DeviceToHisilicon.h"
#include "IpCardRequests.h"
#include "LogProto.pb.h"
#include "NetworkConfigProto.pb.h"
#include "IpCardFarmThread.h"
#include "VideoSourceProto.pb.h"

#include <QCryptographicHash>
#include <QTcpSocket>
#include <QtTest>

using namespace IpCardRequests;
using namespace com::kiv::protobuf;

namespace {

// The card's own result codes.
constexpr int BadRequest = 2;
constexpr int NotLoggedIn = 3;
constexpr int LoginRefused = 4;
constexpr int UnknownCommand = 5;
constexpr int NoUpload = 6;
constexpr int ChunkNumber = 7;
constexpr int UploadSize = 8;
constexpr int InvalidValue = 9;

constexpr quint64 SeedLogStartMs = 1704067200000ULL;   // first seeded entry, one an hour after

QByteArray bigEndian(quint32 value, int width)
{
    QByteArray bytes;
    for (int i = width - 1; i >= 0; --i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

QByteArray chunkBody(int number, const QByteArray& data, int declaredLength = -1)
{
    return bigEndian(quint32(number), 2) + bigEndian(quint32(declaredLength < 0 ? data.size() : declaredLength), 2) + data;
}

template <typename Message>
Message parsed(const QByteArray& body)
{
    Message message;
    message.ParseFromArray(body.constData(), body.size());
    return message;
}

} // namespace

// What a simulated card remembers and refuses, seen through the console's link.
class TestSimulatedIpCard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void login_data();
    void login();
    void requestsNeedALogin();
    void networkSettingsSaveAndReadBack();
    void networkSettingsRefused_data();
    void networkSettingsRefused();
    void videoSourcesSaveAndReadBack();
    void decoderViews();
    void decoderRequestsRefused_data();
    void decoderRequestsRefused();
    void logSearch_data();
    void logSearch();
    void firmwareUpload_data();
    void firmwareUpload();
    void ptzIsRecorded();
    void deviceSearchFindsOnvifAndOthers();
    void restartAndFactoryReset();
    void malformedInputIsRefusedNotFatal();
    void cardGoesAwayWithConnectionsOpen();

private:
    std::unique_ptr<IpCardFarmThread> card;
    std::unique_ptr<DeviceToHisilicon> link;
};

void TestSimulatedIpCard::initTestCase()
{
    card = std::make_unique<IpCardFarmThread>(QHostAddress(QStringLiteral("127.0.77.51")));
    QVERIFY2(card->isStarted(), qPrintable(card->errorText()));
    // Restarts here end at once; the downtime is the panel tests' business.
    QVERIFY(card->control(QStringLiteral("downtime all 0")).startsWith("OK"));
}

void TestSimulatedIpCard::init()
{
    card->control(QStringLiteral("clear all"));
    card->control(QStringLiteral("factory all"));
    link = std::make_unique<DeviceToHisilicon>();
    QVERIFY(link->connectToDevice(card->host(), card->port()));
}

void TestSimulatedIpCard::cleanup()
{
    link.reset();
}

void TestSimulatedIpCard::login_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("expected");
    QTest::newRow("fixed credentials") << QByteArray("admin") << QByteArray("quelt") << 1;
    QTest::newRow("wrong password") << QByteArray("admin") << QByteArray("admin") << LoginRefused;
    QTest::newRow("password case differs") << QByteArray("admin") << QByteArray("Quelt") << LoginRefused;
    QTest::newRow("other user") << QByteArray("root") << QByteArray("quelt") << LoginRefused;
    QTest::newRow("empty") << QByteArray() << QByteArray() << LoginRefused;
}

void TestSimulatedIpCard::login()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, password);
    QFETCH(int, expected);
    QCOMPARE(IpCardRequests::login(*link, user.constData(), password.constData()), expected);
    QCOMPARE(send(*link, 3, 7), expected == 1 ? 1 : NotLoggedIn);
}

void TestSimulatedIpCard::requestsNeedALogin()
{
    QCOMPARE(send(*link, 3, 1), NotLoggedIn);
    QCOMPARE(send(*link, 2, 1), NotLoggedIn);
    QCOMPARE(send(*link, 0xFD, 0), 1);   // heartbeats need none
    QCOMPARE(card->stateNumber(QStringLiteral("restarts")), 0);
}

void TestSimulatedIpCard::networkSettingsSaveAndReadBack()
{
    QCOMPARE(IpCardRequests::login(*link), 1);
    QByteArray body;
    QCOMPARE(send(*link, 3, 1, QByteArray(), &body), 1);
    NetworkConfig config = parsed<NetworkConfig>(body);
    const std::string mac = config.mac();
    QVERIFY(!mac.empty());

    config.set_hostaddr("127.0.77.52");
    config.set_gateway("127.0.77.1");
    config.set_dns2("127.0.0.1");
    config.set_mac("FF:FF:FF:FF:FF:FF");
    QCOMPARE(send(*link, 4, 1, bytesOf(config)), 1);
    // The card answers on its new address from now on, and on that one only.
    QTRY_COMPARE(card->state(QStringLiteral("address")), QStringLiteral("127.0.77.52"));
    QVERIFY(!link->connectToDevice(card->host(), card->port()));
    QVERIFY(link->connectToDevice(QStringLiteral("127.0.77.52"), card->port()));
    QCOMPARE(IpCardRequests::login(*link), 1);
    QCOMPARE(send(*link, 3, 1, QByteArray(), &body), 1);
    const NetworkConfig back = parsed<NetworkConfig>(body);
    QCOMPARE(back.hostaddr(), std::string("127.0.77.52"));
    QCOMPARE(back.gateway(), std::string("127.0.77.1"));
    QCOMPARE(back.dns2(), std::string("127.0.0.1"));
    QCOMPARE(back.tcpport(), 4002);
    QCOMPARE(back.mac(), mac);   // the hardware address is not the console's to change
}

void TestSimulatedIpCard::networkSettingsRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("three-part gateway") << "gateway" << "127.0.77";
    QTest::newRow("octet above 255") << "hostaddr" << "127.0.0.256";
    QTest::newRow("empty DNS2") << "dns2" << "";
    QTest::newRow("port 0") << "httpport" << "0";
    QTest::newRow("address off loopback") << "hostaddr" << "192.168.1.5";
}

void TestSimulatedIpCard::networkSettingsRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QCOMPARE(IpCardRequests::login(*link), 1);
    QByteArray body;
    QCOMPARE(send(*link, 3, 1, QByteArray(), &body), 1);
    const NetworkConfig original = parsed<NetworkConfig>(body);
    NetworkConfig config = original;
    const google::protobuf::FieldDescriptor* descriptor = config.GetDescriptor()->FindFieldByName(field.toStdString());
    QVERIFY(descriptor);
    if (descriptor->type() == google::protobuf::FieldDescriptor::TYPE_STRING)
        config.GetReflection()->SetString(&config, descriptor, value.toStdString());
    else
        config.GetReflection()->SetInt32(&config, descriptor, value.toInt());
    QCOMPARE(send(*link, 4, 1, bytesOf(config)), InvalidValue);
    QCOMPARE(send(*link, 3, 1, QByteArray(), &body), 1);
    QCOMPARE(bytesOf(parsed<NetworkConfig>(body)), bytesOf(original));
}

void TestSimulatedIpCard::videoSourcesSaveAndReadBack()
{
    QCOMPARE(IpCardRequests::login(*link), 1);
    VideoSourceGroupManage list;
    VideoSourceGroup* group = list.add_videosourcegroups();
    group->set_groupname("\xe4\xb8\x80\xe5\x8f\xb7");
    VideoSource* good = group->add_videosources();
    good->set_name("cam");
    good->set_addr("127.0.60.20");
    good->set_channel(4);
    VideoSource* bad = list.add_videosourcegroups()->add_videosources();
    bad->set_name("nowhere");
    bad->set_addr("not an address");
    bad->set_saveissuccess(1);
    QCOMPARE(send(*link, 4, 3, bytesOf(list)), 1);

    QByteArray body;
    QCOMPARE(send(*link, 3, 3, QByteArray(), &body), 1);
    const VideoSourceGroupManage back = parsed<VideoSourceGroupManage>(body);
    QCOMPARE(back.videosourcegroups_size(), 2);
    QCOMPARE(back.videosourcegroups(0).groupname(), group->groupname());
    QCOMPARE(back.videosourcegroups(0).videosources(0).channel(), 4);
    // The card reports which sources it can reach.
    QCOMPARE(back.videosourcegroups(0).videosources(0).saveissuccess(), 1);
    QCOMPARE(back.videosourcegroups(1).groupname(), std::string());
    QCOMPARE(back.videosourcegroups(1).videosources(0).saveissuccess(), 0);
}

void TestSimulatedIpCard::decoderViews()
{
    QCOMPARE(IpCardRequests::login(*link), 1);
    Decoder view;
    view.set_output(1);
    view.set_viewid(1);
    view.add_videosources();                       // empty left pane
    view.add_videosources()->set_name("right");
    QCOMPARE(send(*link, 4, 4, bytesOf(view)), 1);

    QByteArray body;
    QCOMPARE(send(*link, 3, 4, QByteArray("\x01\x01", 2), &body, 2), 1);
    QCOMPARE(body.toHex(), bytesOf(view).toHex());
    // The control port lists every view's sources; names are percent-encoded.
    QVERIFY(card->control(QStringLiteral("views %1").arg(card->host())).split(' ').contains("1/1=2:,right"));
    // The other output keeps its own view.
    QCOMPARE(send(*link, 3, 4, QByteArray("\x00\x01", 2), &body, 2), 1);
    QCOMPARE(parsed<Decoder>(body).videosources_size(), 0);
    QCOMPARE(parsed<Decoder>(body).viewid(), 1);

    DecoderApply apply;
    apply.set_output(1);
    apply.set_viewid(3);
    QCOMPARE(send(*link, 4, 8, bytesOf(apply)), 1);
    QCOMPARE(send(*link, 3, 8, QByteArray("\x01", 1), &body, 2), 1);
    QCOMPARE(parsed<DecoderApply>(body).viewid(), 3);
    QCOMPARE(parsed<DecoderApply>(body).output(), 1);
    // Output 0 still shows view 0: an all-default reply has no body at all.
    body.clear();
    QCOMPARE(send(*link, 3, 8, QByteArray("\x00", 1), &body, 2), 1);
    QVERIFY(body.isEmpty());
}

void TestSimulatedIpCard::decoderRequestsRefused_data()
{
    QTest::addColumn<int>("msgClass");
    QTest::addColumn<int>("msgCommand");
    QTest::addColumn<int>("bodyFormat");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("expected");

    QTest::newRow("view read without raw format") << 3 << 4 << 0 << QByteArray("\x00\x01", 2) << BadRequest;
    QTest::newRow("view read, one byte") << 3 << 4 << 2 << QByteArray("\x00", 1) << BadRequest;
    QTest::newRow("view read, view 4") << 3 << 4 << 2 << QByteArray("\x00\x04", 2) << InvalidValue;
    QTest::newRow("view read, output 2") << 3 << 4 << 2 << QByteArray("\x02\x00", 2) << InvalidValue;
    QTest::newRow("current view, no byte") << 3 << 8 << 2 << QByteArray() << BadRequest;
    Decoder tooMany;
    tooMany.set_viewid(2);
    for (int i = 0; i < 5; ++i)
        tooMany.add_videosources();
    QTest::newRow("five sources for four panes") << 4 << 4 << 0 << bytesOf(tooMany) << InvalidValue;
    DecoderApply none;
    none.set_viewid(-1);
    QTest::newRow("apply view -1") << 4 << 8 << 0 << bytesOf(none) << InvalidValue;
}

void TestSimulatedIpCard::decoderRequestsRefused()
{
    QFETCH(int, msgClass);
    QFETCH(int, msgCommand);
    QFETCH(int, bodyFormat);
    QFETCH(QByteArray, body);
    QFETCH(int, expected);
    QCOMPARE(IpCardRequests::login(*link), 1);
    QCOMPARE(send(*link, msgClass, msgCommand, body, nullptr, bodyFormat), expected);
}

void TestSimulatedIpCard::logSearch_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<quint64>("start");
    QTest::addColumn<quint64>("end");
    QTest::addColumn<int>("expected");

    const quint64 hour = 3600000ULL;
    // Seeded entries cycle Exception, Operation, Info, one an hour.
    QTest::newRow("all of the first ten hours") << 0 << SeedLogStartMs << SeedLogStartMs + 9 * hour << 10;
    QTest::newRow("exceptions among them") << 1 << SeedLogStartMs << SeedLogStartMs + 9 * hour << 4;
    QTest::newRow("info among them") << 3 << SeedLogStartMs << SeedLogStartMs + 9 * hour << 3;
    QTest::newRow("range ends are included") << 0 << SeedLogStartMs + hour << SeedLogStartMs + 2 * hour << 2;
    QTest::newRow("before the log") << 0 << quint64(0) << SeedLogStartMs - 1 << 0;
    QTest::newRow("start after end") << 0 << SeedLogStartMs + 5 * hour << SeedLogStartMs << 0;
}

void TestSimulatedIpCard::logSearch()
{
    QFETCH(int, type);
    QFETCH(quint64, start);
    QFETCH(quint64, end);
    QFETCH(int, expected);
    QCOMPARE(IpCardRequests::login(*link), 1);
    LogSearchRequest search;
    search.set_type(type);
    search.set_starttime(start);
    search.set_endtime(end);
    QByteArray body("untouched");
    QCOMPARE(send(*link, 3, 5, bytesOf(search), &body), 1);
    const LogSearchResponse found = body == "untouched" ? LogSearchResponse() : parsed<LogSearchResponse>(body);
    QCOMPARE(found.logs_size(), expected);
    for (const Log& entry : found.logs()) {
        QVERIFY(type == 0 || entry.type() == type);
        QVERIFY(entry.datatime() >= start && entry.datatime() <= end);
    }
}

void TestSimulatedIpCard::firmwareUpload_data()
{
    QTest::addColumn<int>("size");             // announced by the start request
    QTest::addColumn<QList<int>>("numbers");   // chunk numbers sent, in order
    QTest::addColumn<QList<int>>("lengths");   // data bytes in each chunk
    QTest::addColumn<int>("failingChunk");     // index of the first refused chunk, -1 none
    QTest::addColumn<int>("chunkResult");
    QTest::addColumn<int>("endResult");

    QTest::newRow("one full chunk numbered 0") << 10240 << QList<int>{0} << QList<int>{10240} << -1 << 1 << 1;
    QTest::newRow("10241 bytes: chunks 1 then 0") << 10241 << QList<int>{1, 0} << QList<int>{10240, 1} << -1 << 1 << 1;
    QTest::newRow("counting up instead of down") << 10241 << QList<int>{0, 1} << QList<int>{10240, 1} << 0 << ChunkNumber << ChunkNumber;
    QTest::newRow("a number skipped") << 30720 << QList<int>{2, 0} << QList<int>{10240, 10240} << 1 << ChunkNumber << ChunkNumber;
    QTest::newRow("more data than announced") << 10241 << QList<int>{1, 0} << QList<int>{10240, 2} << 1 << UploadSize << UploadSize;
    QTest::newRow("short chunk before the last") << 20480 << QList<int>{1} << QList<int>{5000} << 0 << UploadSize << UploadSize;
    QTest::newRow("last chunk missing") << 10241 << QList<int>{1} << QList<int>{10240} << -1 << 1 << UploadSize;
}

void TestSimulatedIpCard::firmwareUpload()
{
    QFETCH(int, size);
    QFETCH(QList<int>, numbers);
    QFETCH(QList<int>, lengths);
    QFETCH(int, failingChunk);
    QFETCH(int, chunkResult);
    QFETCH(int, endResult);

    QCOMPARE(IpCardRequests::login(*link), 1);
    QCOMPARE(send(*link, 2, 3, chunkBody(0, "x"), nullptr, 2), NoUpload);
    QCOMPARE(send(*link, 2, 4, QByteArray("V3.0.1.bin") + bigEndian(quint32(size), 4)), 1);

    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int i = 0; i < numbers.size(); ++i) {
        QByteArray data(lengths.at(i), '\0');
        for (int b = 0; b < data.size(); ++b)
            data[b] = char((i * 31 + b) & 0xFF);
        hash.addData(data);
        const int expected = i == failingChunk ? chunkResult : 1;
        QCOMPARE(send(*link, 2, 3, chunkBody(numbers.at(i), data), nullptr, 2), expected);
        if (i == failingChunk)
            break;
    }
    QCOMPARE(send(*link, 2, 5), endResult);
    QByteArray body;
    QCOMPARE(send(*link, 3, 7, QByteArray(), &body), 1);
    if (endResult == 1) {
        QCOMPARE(card->state(QStringLiteral("firmware")),
                 QStringLiteral("V3.0.1.bin,%1,%2").arg(size).arg(QString::fromLatin1(hash.result().toHex())));
        QCOMPARE(parsed<VersionInfo>(body).version(), std::string("V3.0.1"));
        // The card restarts after a successful upgrade.
        QTRY_COMPARE(card->stateNumber(QStringLiteral("connections")), 0);
    } else {
        QCOMPARE(card->state(QStringLiteral("firmware")), QStringLiteral("-"));
        QCOMPARE(parsed<VersionInfo>(body).version(), std::string("V2.1.0"));
        QCOMPARE(send(*link, 2, 5), NoUpload);   // the failed upload is over
    }
}

void TestSimulatedIpCard::ptzIsRecorded()
{
    QCOMPARE(IpCardRequests::login(*link), 1);
    VideoSource source;
    source.set_name("door");
    card->control(QStringLiteral("ptz %1 clear").arg(card->host()));
    QCOMPARE(send(*link, 2, 105, bytesOf(source)), 1);
    source.set_name("门,1");
    QCOMPARE(send(*link, 2, 100, bytesOf(source)), 1);
    QCOMPARE(card->control(QStringLiteral("ptz %1").arg(card->host())), QByteArray("OK 105:door 100:%E9%97%A8%2C1"));
    source.set_name("door");
    QCOMPARE(card->stateNumber(QStringLiteral("ptz")), 2);
    QCOMPARE(card->state(QStringLiteral("lastptz")), QStringLiteral("100:门,1"));
    QCOMPARE(send(*link, 2, 110, bytesOf(source)), UnknownCommand);
    QCOMPARE(send(*link, 2, 101, QByteArray("\x0a\x05gar", 5)), BadRequest);
    QCOMPARE(card->stateNumber(QStringLiteral("ptz")), 2);
}

void TestSimulatedIpCard::deviceSearchFindsOnvifAndOthers()
{
    QCOMPARE(IpCardRequests::login(*link), 1);
    QByteArray body;
    QCOMPARE(send(*link, 3, 2, QByteArray(), &body), 1);
    const VideoSourceGroup found = parsed<VideoSourceGroup>(body);
    int onvif = 0;
    for (const VideoSource& source : found.videosources())
        onvif += source.type() == VideoSource::ONVIF ? 1 : 0;
    QVERIFY(onvif >= 1);
    QVERIFY(found.videosources_size() > onvif);
}

void TestSimulatedIpCard::restartAndFactoryReset()
{
    QCOMPARE(IpCardRequests::login(*link), 1);
    VideoSourceGroupManage none;
    QCOMPARE(send(*link, 4, 3, bytesOf(none)), 1);
    QCOMPARE(send(*link, 2, 1), 1);
    QTRY_COMPARE(card->stateNumber(QStringLiteral("connections")), 0);
    QCOMPARE(card->stateNumber(QStringLiteral("restarts")), 1);
    QCOMPARE(card->stateNumber(QStringLiteral("groups")), 0);   // a restart keeps the settings

    QTRY_COMPARE(card->stateNumber(QStringLiteral("down")), 0);
    QVERIFY(link->connectToDevice(card->host(), card->port()));
    QCOMPARE(IpCardRequests::login(*link), 1);
    QCOMPARE(send(*link, 2, 2), 1);
    QTRY_COMPARE(card->stateNumber(QStringLiteral("connections")), 0);
    QVERIFY(card->stateNumber(QStringLiteral("groups")) > 0);
}

void TestSimulatedIpCard::malformedInputIsRefusedNotFatal()
{
    QCOMPARE(send(*link, 1, 0, QByteArray("\xff\xff\xff", 3)), BadRequest);
    QCOMPARE(send(*link, 9, 0), UnknownCommand);
    QCOMPARE(IpCardRequests::login(*link), 1);
    QCOMPARE(send(*link, 3, 99), UnknownCommand);
    QCOMPARE(send(*link, 4, 1, QByteArray("\x0a\x10", 2)), BadRequest);
    QCOMPARE(send(*link, 3, 5, QByteArray("\x08", 1)), BadRequest);
    QCOMPARE(send(*link, 2, 4, QByteArray("\x00\x00", 2)), BadRequest);

    // A raw client that sends noise and half a header, then goes away.
    QTcpSocket raw;
    raw.connectToHost(card->host(), card->port());
    QVERIFY(raw.waitForConnected(3000));
    raw.write(QByteArray(100, char(0xA7)));
    raw.write(QByteArray::fromHex("0000000000000000" "01000000" "ffff"));
    QVERIFY(raw.waitForBytesWritten(3000));
    raw.abort();

    QCOMPARE(send(*link, 3, 7), 1);
}

// A card deleted while it still holds connections (its clients have not closed, or their close
// has not reached it yet) ends them without reaching back into itself.
void TestSimulatedIpCard::cardGoesAwayWithConnectionsOpen()
{
    auto other = std::make_unique<IpCardFarmThread>(QHostAddress(QStringLiteral("127.0.77.52")));
    QVERIFY2(other->isStarted(), qPrintable(other->errorText()));
    QTcpSocket clients[2];
    for (QTcpSocket& client : clients) {
        client.connectToHost(other->host(), other->port());
        QVERIFY(client.waitForConnected(3000));
    }
    QTRY_COMPARE(other->stateNumber(QStringLiteral("connections")), 2);
    other.reset();
    QTRY_VERIFY(clients[0].state() == QAbstractSocket::UnconnectedState
                && clients[1].state() == QAbstractSocket::UnconnectedState);
}

QTEST_GUILESS_MAIN(TestSimulatedIpCard)
#include "tst_simulatedipcard.moc"
