#include "DecoderProto.pb.h"
#include "FileInfoProto.pb.h"
#include "LogProto.pb.h"
#include "LoginRequestProto.pb.h"
#include "NetworkConfigProto.pb.h"
#include "VideoSourceProto.pb.h"

#include <QProcess>
#include <QtTest>

#include <type_traits>

using namespace com::kiv::protobuf;

// The lite file must stay lite: no descriptors, so no reflection base class.
static_assert(std::is_base_of<google::protobuf::MessageLite, Decoder>::value, "Decoder is a lite message");
static_assert(!std::is_base_of<google::protobuf::Message, Decoder>::value, "Decoder has no descriptor");
static_assert(!std::is_base_of<google::protobuf::Message, DecoderApply>::value, "DecoderApply has no descriptor");
static_assert(std::is_base_of<google::protobuf::Message, VideoSource>::value, "VideoSource carries reflection");

namespace {

template <typename Message>
QByteArray bytesOf(const Message& message)
{
    return QByteArray::fromStdString(message.SerializeAsString());
}

VideoSource sampleSource()
{
    VideoSource source;
    source.set_name("gate");
    source.set_type(VideoSource::DAHUA);
    source.set_addr("127.0.60.9");
    source.set_mediaport(554);
    source.set_channel(2);
    source.set_saveissuccess(1);
    return source;
}

// Runs protoc on the project's .proto files; empty on failure.
QByteArray runProtoc(const QString& mode, const QString& type, const QString& file, const QByteArray& input)
{
    QProcess protoc;
    protoc.start(QStringLiteral(VEXILO_PROTOC),
                 {QStringLiteral("--%1=com.kiv.protobuf.%2").arg(mode, type),
                  QStringLiteral("-I") + QStringLiteral(VEXILO_PROTO_DIR), file});
    if (!protoc.waitForStarted(10000))
        return QByteArray();
    protoc.write(input);
    protoc.closeWriteChannel();
    if (!protoc.waitForFinished(30000) || protoc.exitCode() != 0) {
        qWarning() << protoc.readAllStandardError();
        return QByteArray();
    }
    return protoc.readAllStandardOutput();
}

} // namespace

class TestMessageSchema : public QObject
{
    Q_OBJECT
private slots:
    void liteWireForm_data();
    void liteWireForm();
    void liteKeepsUnknownFields();
    void liteTypeNames();
    void emptyBodyParsesToDefaults();
    void nameOfTwentyOneBytesRoundTrips();
    void invalidUtf8FailsFullParse();
    void reflectionNamesDeviceTypes();
    void protocDecodesOurBodies_data();
    void protocDecodesOurBodies();
    void protocEncodedBodiesMatchOurs_data();
    void protocEncodedBodiesMatchOurs();
};

void TestMessageSchema::liteWireForm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("hex");

    Decoder empty;
    QTest::newRow("Decoder all zero") << bytesOf(empty) << QByteArray("");
    DecoderApply apply;
    apply.set_viewid(2);
    QTest::newRow("DecoderApply output 0, view 2") << bytesOf(apply) << QByteArray("1002");
    apply.set_output(1);
    QTest::newRow("DecoderApply output 1, view 2") << bytesOf(apply) << QByteArray("08011002");
    DecoderApply negative;
    negative.set_output(-1);
    QTest::newRow("negative output takes ten bytes") << bytesOf(negative) << QByteArray("08ffffffffffffffffff01");
    Decoder withSources;
    withSources.set_output(1);
    withSources.set_viewid(3);
    withSources.add_videosources()->set_name("a");
    withSources.add_videosources();
    QTest::newRow("Decoder sources in pane order, empty one included")
        << bytesOf(withSources) << QByteArray("08011003" "1a030a0161" "1a00");
}

void TestMessageSchema::liteWireForm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, hex);
    QCOMPARE(bytes.toHex(), hex);
}

void TestMessageSchema::liteKeepsUnknownFields()
{
    // Field 5 (varint 7) is not part of DecoderApply: kept and written back.
    const QByteArray wire = QByteArray::fromHex("10022807");
    DecoderApply apply;
    QVERIFY(apply.ParseFromArray(wire.constData(), wire.size()));
    QCOMPARE(apply.viewid(), 2);
    QCOMPARE(bytesOf(apply).toHex(), wire.toHex());
}

void TestMessageSchema::liteTypeNames()
{
    QCOMPARE(QString::fromStdString(Decoder().GetTypeName()), QStringLiteral("com.kiv.protobuf.Decoder"));
    QCOMPARE(QString::fromStdString(DecoderApply().GetTypeName()), QStringLiteral("com.kiv.protobuf.DecoderApply"));
}

void TestMessageSchema::emptyBodyParsesToDefaults()
{
    const QByteArray empty;
    NetworkConfig network;
    network.set_hostaddr("x");
    QVERIFY(network.ParseFromArray(empty.constData(), empty.size()));
    QVERIFY(network.hostaddr().empty());
    QCOMPARE(network.tcpport(), 0);
    VideoSourceGroupManage list;
    QVERIFY(list.ParseFromArray(empty.constData(), empty.size()));
    QCOMPARE(list.videosourcegroups_size(), 0);
    Decoder decoder;
    QVERIFY(decoder.ParseFromArray(empty.constData(), empty.size()));
    QCOMPARE(decoder.viewid(), 0);
    QCOMPARE(decoder.videosources_size(), 0);
    LogSearchResponse logs;
    QVERIFY(logs.ParseFromArray(empty.constData(), empty.size()));
    QCOMPARE(logs.logs_size(), 0);
}

void TestMessageSchema::nameOfTwentyOneBytesRoundTrips()
{
    const QByteArray name = QStringLiteral("一二三四五六七").toUtf8();
    QCOMPARE(name.size(), 21);
    VideoSource source;
    source.set_name(name.toStdString());
    VideoSource back;
    const QByteArray wire = bytesOf(source);
    QVERIFY(back.ParseFromArray(wire.constData(), wire.size()));
    QCOMPARE(QByteArray::fromStdString(back.name()), name);
}

void TestMessageSchema::invalidUtf8FailsFullParse()
{
    // Field 1 (name) holding the bytes C3 28, which are not UTF-8.
    const QByteArray wire = QByteArray::fromHex("0a02c328");
    VideoSource source;
    QVERIFY(!source.ParseFromArray(wire.constData(), wire.size()));
}

void TestMessageSchema::reflectionNamesDeviceTypes()
{
    const google::protobuf::EnumDescriptor* types = VideoSource::E_DeviceType_descriptor();
    QVERIFY(types);
    QCOMPARE(types->value_count(), 10);
    QCOMPARE(QString::fromStdString(VideoSource::E_DeviceType_Name(VideoSource::XIONGMAI)), QStringLiteral("XIONGMAI"));
    QCOMPARE(QString::fromStdString(Log::E_LogType_Name(Log::Exception)), QStringLiteral("Exception"));
    QCOMPARE(QString::fromStdString(VideoSource::descriptor()->full_name()), QStringLiteral("com.kiv.protobuf.VideoSource"));
}

// Bodies as our generated code writes them, with the text form protoc prints for them.
void TestMessageSchema::protocDecodesOurBodies_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("text");

    VideoSourceGroupManage list;
    VideoSourceGroup* group = list.add_videosourcegroups();
    group->set_groupname("\xe5\xa4\xa7\xe5\x8e\x85");   // two Chinese characters
    *group->add_videosources() = sampleSource();
    list.add_videosourcegroups();
    QTest::newRow("VideoSourceGroupManage") << "VideoSourceGroupManage" << "VideoSourceProto.proto" << bytesOf(list)
        << QByteArray("videoSourceGroups {\n  groupname: \"\\345\\244\\247\\345\\216\\205\"\n"
                      "  videoSources {\n    name: \"gate\"\n    type: DAHUA\n    addr: \"127.0.60.9\"\n"
                      "    mediaport: 554\n    channel: 2\n    saveIsSuccess: 1\n  }\n}\nvideoSourceGroups {\n}\n");

    NetworkConfig network;
    network.set_hostaddr("127.0.0.9");
    network.set_mac("00:1C:27:00:00:09");
    network.set_tcpport(4002);
    QTest::newRow("NetworkConfig") << "NetworkConfig" << "NetworkConfigProto.proto" << bytesOf(network)
        << QByteArray("hostaddr: \"127.0.0.9\"\nmac: \"00:1C:27:00:00:09\"\ntcpport: 4002\n");

    LogSearchResponse logs;
    Log* entry = logs.add_logs();
    entry->set_type(Log::Operation);
    entry->set_datatime(1704067200000ULL);
    entry->set_content("login");
    QTest::newRow("LogSearchResponse") << "LogSearchResponse" << "LogProto.proto" << bytesOf(logs)
        << QByteArray("logs {\n  type: Operation\n  datatime: 1704067200000\n  content: \"login\"\n}\n");

    Decoder decoder;
    decoder.set_output(1);
    decoder.set_viewid(1);
    *decoder.add_videosources() = sampleSource();
    decoder.add_videosources();
    QTest::newRow("Decoder (lite)") << "Decoder" << "DecoderProto.proto" << bytesOf(decoder)
        << QByteArray("output: 1\nviewId: 1\nvideoSources {\n  name: \"gate\"\n  type: DAHUA\n"
                      "  addr: \"127.0.60.9\"\n  mediaport: 554\n  channel: 2\n  saveIsSuccess: 1\n}\nvideoSources {\n}\n");

    LoginRequest login;
    login.set_username("admin");
    login.set_password("quelt");
    QTest::newRow("LoginRequest") << "LoginRequest" << "LoginRequestProto.proto" << bytesOf(login)
        << QByteArray("username: \"admin\"\npassword: \"quelt\"\n");

    FileInfo file;
    file.set_filename("fw.bin");
    file.set_filesize(5000000000ULL);
    QTest::newRow("FileInfo") << "FileInfo" << "FileInfoProto.proto" << bytesOf(file)
        << QByteArray("filename: \"fw.bin\"\nfilesize: 5000000000\n");
}

void TestMessageSchema::protocDecodesOurBodies()
{
    QFETCH(QString, type);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, text);
    QCOMPARE(QString::fromUtf8(runProtoc(QStringLiteral("decode"), type, file, bytes)), QString::fromUtf8(text));
}

void TestMessageSchema::protocEncodedBodiesMatchOurs_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("VideoSource, every field")
        << "VideoSource" << "VideoSourceProto.proto"
        << QByteArray("name: \"\xe9\x97\xa8 7\" type: SONY addr: \"127.0.0.8\" username: \"admin\" password: \"p\" "
                      "mediaport: 554 onvifport: 8080 channel: 3 sockettype: 1 mainstreamuri: \"rtsp://a/1\" "
                      "substreamuri: \"rtsp://a/2\" saveIsSuccess: 1 consoleControl: -2 index: 9");
    QTest::newRow("VersionInfo") << "VersionInfo" << "LoginRequestProto.proto"
                                 << QByteArray("version: \"V2.1.0\" updateTime: \"2024-01-01 08:00:00\"");
    QTest::newRow("LogSearchRequest") << "LogSearchRequest" << "LogProto.proto"
                                      << QByteArray("type: 3 starttime: 1 endtime: 18446744073709551615");
    QTest::newRow("DecoderApply (lite)") << "DecoderApply" << "DecoderProto.proto" << QByteArray("output: -1 viewId: 3");
    QTest::newRow("Decoder (lite)") << "Decoder" << "DecoderProto.proto"
                                    << QByteArray("viewId: 2 videoSources { name: \"x\" } videoSources { index: 4 }");
}

template <typename Message>
static bool reencodes(const QByteArray& wire, QByteArray* again)
{
    Message message;
    if (!message.ParseFromArray(wire.constData(), wire.size()))
        return false;
    *again = bytesOf(message);
    return true;
}

void TestMessageSchema::protocEncodedBodiesMatchOurs()
{
    QFETCH(QString, type);
    QFETCH(QString, file);
    QFETCH(QByteArray, text);

    const QByteArray wire = runProtoc(QStringLiteral("encode"), type, file, text);
    QVERIFY(!wire.isEmpty());
    QByteArray again;
    bool parsed = false;
    if (type == QLatin1String("VideoSource"))
        parsed = reencodes<VideoSource>(wire, &again);
    else if (type == QLatin1String("VersionInfo"))
        parsed = reencodes<VersionInfo>(wire, &again);
    else if (type == QLatin1String("LogSearchRequest"))
        parsed = reencodes<LogSearchRequest>(wire, &again);
    else if (type == QLatin1String("DecoderApply"))
        parsed = reencodes<DecoderApply>(wire, &again);
    else if (type == QLatin1String("Decoder"))
        parsed = reencodes<Decoder>(wire, &again);
    QVERIFY(parsed);
    // Same fields, same numbers, same encodings: our writing of what we read equals protoc's.
    QCOMPARE(again.toHex(), wire.toHex());
}

QTEST_GUILESS_MAIN(TestMessageSchema)
#include "tst_messageschema.moc"
