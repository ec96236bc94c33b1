// One IP card reply as any card may send it: the 16-byte header, then the body it announces,
// read as every message the console takes from a card and handed to what shows it (the source
// tree, the decoder's panes, the log pages, the backup file). Nothing of it may fault, the
// header writes back as it was read, the source tree survives its way back into a list, proposes
// a channel the editor can show, and exports what imports back as the same tree.
#include "FuzzSupport.h"

#include "DecoderProto.pb.h"
#include "LoginRequestProto.pb.h"
#include "LogProto.pb.h"
#include "NetworkConfigProto.pb.h"
#include "VideoSourceProto.pb.h"
#include "ipcard/link/KivMsgHead.h"
#include "ipcard/panel/DecoderViews.h"
#include "ipcard/panel/LogPaging.h"
#include "ipcard/panel/VideoSourceBackupFile.h"
#include "ipcard/panel/VideoSourceConfigDialog.h"
#include "ipcard/panel/VideoSourceListWalk.h"
#include "ipcard/panel/VideoSourceTree.h"

#include <QApplication>
#include <QTreeWidget>

#include <google/protobuf/stubs/logging.h>

using namespace com::kiv::protobuf;

namespace {

// The tree of a list as the console shows it, one line per item.
QStringList treeOf(const VideoSourceGroupManage& list)
{
    QStringList lines;
    VideoSourceListWalk walk;
    walk.onGroup = [&lines](const QString& name) { lines << QStringLiteral("group ") + name; };
    walk.onSource = [&lines](const VideoSource&, const QByteArray& bytes, bool inGroup) {
        lines << (inGroup ? QStringLiteral("  source ") : QStringLiteral("source ")) + QString::fromLatin1(bytes.toHex());
    };
    walk.run(list);
    return lines;
}

// The video-source tab's tree, one for every input.
VideoSourceTree& sourceTree()
{
    static auto* widget = new QTreeWidget;
    static VideoSourceTree tree(widget);
    return tree;
}

void showSources(const QByteArray& body)
{
    VideoSourceGroupManage list;
    if (!list.ParseFromArray(body.constData(), body.size()))
        return;
    VideoSourceTree& tree = sourceTree();
    tree.fill(list);
    FuzzSupport::require(treeOf(tree.build()) == treeOf(list), "the source tree changed on its way back");
    const int channel = tree.nextChannel(VideoSourceConfigDialog::MaxChannel);
    FuzzSupport::require(channel >= 0 && channel <= VideoSourceConfigDialog::MaxChannel,
                         "a new source's channel the editor cannot show");
}

// A backup file as the import reads it; once shown, the tree exports what imports back as itself.
void importAndExport(const QByteArray& body)
{
    FuzzSupport::writeFile(QStringLiteral("sources.dat"), body);
    VideoSourceGroupManage imported;
    if (VideoSourceBackupFile::read(QStringLiteral("sources.dat"), &imported) != VideoSourceBackupFile::ReadResult::Ok)
        return;
    VideoSourceTree& tree = sourceTree();
    tree.fill(imported);
    const VideoSourceGroupManage shown = tree.build();
    FuzzSupport::require(VideoSourceBackupFile::write(QStringLiteral("export.dat"), shown), "an export not written");
    VideoSourceGroupManage again;
    FuzzSupport::require(VideoSourceBackupFile::read(QStringLiteral("export.dat"), &again)
                             == VideoSourceBackupFile::ReadResult::Ok,
                         "an export that does not import");
    tree.fill(again);
    FuzzSupport::require(tree.build().SerializeAsString() == shown.SerializeAsString(),
                         "an export that imports as another tree");
}

void showDecoder(const QByteArray& body)
{
    Decoder view;
    if (!view.ParseFromArray(body.constData(), body.size()))
        return;
    for (int id = -1; id <= DecoderViews::Count; ++id) {
        const DecoderViews::Shape shape = DecoderViews::shapeOf(id);
        const QVector<QByteArray> panes = DecoderViews::paneContents(view, shape);
        FuzzSupport::require(panes.size() == shape.panes(), "panes other than the view's");
        DecoderViews::viewToSave(0, id, panes);
    }
}

void showLog(const QByteArray& body)
{
    LogSearchResponse response;
    if (!response.ParseFromArray(body.constData(), body.size()))
        return;
    LogPaging paging;
    paging.setEntries(response);
    int rows = 0;
    do {
        rows += paging.rows().size();
        paging.pageLabel();
    } while (paging.nextPage());
    FuzzSupport::require(rows == paging.count(), "log rows other than the entries");
}

template <typename Message>
void parse(const QByteArray& body)
{
    Message message;
    message.ParseFromArray(body.constData(), body.size());
}

} // namespace

void quietProtobuf(google::protobuf::LogLevel, const char*, int, const std::string&) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::setUp<QApplication>();
    static const auto previous = google::protobuf::SetLogHandler(quietProtobuf);   // invalid UTF-8 is normal here
    Q_UNUSED(previous);
    const QByteArray input = FuzzSupport::bytes(data, size);
    _KIV_MSG_HEAD_T head;
    if (!_KIV_MSG_HEAD_T::fromBytes(input, &head)) {
        FuzzSupport::require(input.size() < _KIV_MSG_HEAD_T::Size, "a whole header refused");
        return 0;
    }
    FuzzSupport::require(head.toBytes() == input.left(_KIV_MSG_HEAD_T::Size), "the header writes back otherwise");
    const QByteArray body = input.mid(_KIV_MSG_HEAD_T::Size, head.length);

    showSources(body);
    showDecoder(body);
    showLog(body);
    parse<NetworkConfig>(body);
    parse<VideoSourceGroup>(body);
    parse<DecoderApply>(body);
    parse<VersionInfo>(body);
    importAndExport(body);
    return 0;
}
