// The IP card panel's own code paths against a simulated card on loopback (127.0.78.2:4002):
//   upload    a 64 MiB firmware file through HisliconConfigDialog::onUpdate (progress bar, events
//             run between chunks, the per-chunk debug line produced), against the raw-socket
//             floor of the same frames measured in the same run; the longest time the GUI
//             thread did not run its events (a 10 ms timer's largest gap) during the upload
//   log       a log page shown from a full (65535-byte) search reply over the link
//             (onFindLog), and from 100 000 entries held in memory (paging and table)
//   tree      the video-source tree filled with 2000 sources from a message in memory, painted
// Goals: upload >= 30 MB/s (1 MB = 10^6 bytes) with no gap over 100 ms; each page and the tree
// under 50 ms.

#include "../common/BenchFigures.h"
#include "IpCardFarmThread.h"
#include "RawCardUpload.h"

#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/FBasePushButton.h"
#include "framework/FMessageBoxDialog.h"
#include "ipcard/link/OpenIpCardLinks.h"
#include "ipcard/panel/HisliconConfigDialog.h"
#include "ipcard/panel/LogPaging.h"
#include "ipcard/panel/LogTableRows.h"
#include "platform/LoopbackGuard.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QThread>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace com::kiv::protobuf;

namespace {

constexpr int FileSize = 64 * 1024 * 1024;
constexpr int Repeats = 15;
const char* const Bench = "bench_ipcard_panel";

int debugLines = 0;

// The panel's debug lines are produced as in the console, then counted instead of written.
void countMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg) {
        ++debugLines;
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Presses OK on the panel's message boxes and remembers their texts.
void answerBoxes(QStringList* texts)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [texts] {
        QWidget* box = QApplication::activeModalWidget();
        if (auto* f = qobject_cast<FMessageBoxDialog*>(box)) {
            *texts << f->getTextLabel()->text();
            f->getOkButton()->click();
        } else if (auto* m = qobject_cast<CMeetingMessageBoxDialog*>(box)) {
            *texts << m->getTextLabel()->text();
            m->getOkButton()->click();
        }
    });
    poll->start(5);
}

double mbPerSecond(qint64 bytes, double ms)
{
    return ms > 0 ? double(bytes) / 1e6 / (ms / 1000.0) : 0.0;
}

QByteArray firmware()
{
    QByteArray file(FileSize, '\0');
    quint32 state = 12345;
    for (char& byte : file) {
        state = state * 1103515245u + 12345u;
        byte = char(state >> 24);
    }
    return file;
}

template <typename Step>
BenchFigures::Stats timed(Step step, int repeats = Repeats)
{
    QVector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer clock;
        clock.start();
        step();
        ms << clock.nsecsElapsed() / 1e6;
    }
    return BenchFigures::statsOf(ms);
}

VideoSourceGroupManage manySources(int count)
{
    VideoSourceGroupManage list;
    VideoSourceGroup* group = nullptr;
    for (int i = 0; i < count; ++i) {
        if (i % 50 == 0) {
            group = list.add_videosourcegroups();
            group->set_groupname(QStringLiteral("group %1").arg(i / 50 + 1).toStdString());
        }
        VideoSource* source = group->add_videosources();
        source->set_name(QStringLiteral("camera %1").arg(i + 1).toStdString());
        source->set_type(VideoSource::E_DeviceType(i % 10));
        source->set_addr(QStringLiteral("127.0.%1.%2").arg(i / 250).arg(i % 250 + 1).toStdString());
        source->set_username("admin");
        source->set_mediaport(554);
        source->set_channel(i + 1);
        source->set_mainstreamuri("rtsp://admin:pw@127.0.0.1:554/h264/ch1/main/av_stream");
        source->set_saveissuccess(i % 2);
    }
    return list;
}

} // namespace

int main(int argc, char* argv[])
{
    BenchFigures::prepareEnvironment("build/bin");
    QApplication app(argc, argv);
    qInstallMessageHandler(countMessages);
    LoopbackGuard::setActiveForTesting(true);

    IpCardFarmThread card(QHostAddress(QStringLiteral("127.0.78.2")), HisliconConfigDialog::CardPort);
    if (!card.isStarted())
        return BenchFigures::fail(Bench, card.errorText());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.bin"));
    const QByteArray file = firmware();
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
            return BenchFigures::fail(Bench, QStringLiteral("cannot write %1").arg(path));
    }
    const QString sha1 = QString::fromLatin1(QCryptographicHash::hash(file, QCryptographicHash::Sha1).toHex());

    const RawCardUpload::Result raw = RawCardUpload::upload(card.host(), card.port(), file);
    if (raw.endResult != 1)
        return BenchFigures::fail(Bench, QStringLiteral("raw upload ended with %1").arg(raw.endResult));

    QStringList boxes;
    answerBoxes(&boxes);
    HisliconConfigDialog panel(card.host());
    panel.resize(1100, 640);
    panel.show();
    if (!panel.onClickConnect())
        return BenchFigures::fail(Bench, QStringLiteral("panel did not connect: %1").arg(boxes.join(QLatin1Char(' '))));

    // Upload through the panel, the GUI thread's event gaps watched by a 10 ms timer.
    panel.findChild<QLineEdit*>(QStringLiteral("lineEditUpgradeFile"))->setText(path);
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = qMax(longestGap, sinceTick.restart());
    });
    qint64 uploadMs = -1;
    QObject::connect(&panel, &HisliconConfigDialog::signalHisliconDisconnect, [&] {
        uploadMs = clock.elapsed();
        ticker.stop();
    });
    debugLines = 0;
    clock.start();
    sinceTick.start();
    ticker.start(10);
    panel.findChild<QPushButton*>(QStringLiteral("pushButtonUpgrade"))->click();
    const bool uploaded = uploadMs > 0
                          && card.state(QStringLiteral("firmware")) == QStringLiteral("bench.bin,%1,%2").arg(FileSize).arg(sha1);
    const int chunks = (FileSize + RawCardUpload::ChunkSize - 1) / RawCardUpload::ChunkSize;

    std::printf("IP card panel, simulated card on loopback\n");
    std::printf("  firmware upload, %d MiB in %d chunks:\n", FileSize >> 20, chunks);
    std::printf("    raw socket floor : %6lld ms  %7.1f MB/s\n", raw.ms, mbPerSecond(FileSize, raw.ms));
    std::printf("    panel (onUpdate) : %6lld ms  %7.1f MB/s  data %s  debug lines %d\n", uploadMs,
                mbPerSecond(FileSize, uploadMs), uploaded ? "verified" : "NOT VERIFIED", debugLines);
    std::printf("    floor / panel    : %.2f\n", uploadMs > 0 ? double(raw.ms) / double(uploadMs) : 0.0);
    std::printf("    longest event gap: %lld ms\n", longestGap);
    const bool uploadGoal = uploaded && mbPerSecond(FileSize, uploadMs) >= 30.0 && longestGap <= 100;

    // The card restarts after the upgrade; come back when it listens again.
    card.control(QStringLiteral("downtime all 0"));
    QElapsedTimer wait;
    wait.start();
    while (card.stateNumber(QStringLiteral("down")) != 0 && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(1200);   // the restart is 1 s after the end's reply
    card.control(QStringLiteral("factory all"));
    card.control(QStringLiteral("log all full"));
    if (!panel.onClickConnect())
        return BenchFigures::fail(Bench, QStringLiteral("panel did not reconnect"));
    auto* tabs = panel.findChild<QTabWidget*>(QStringLiteral("tabWidget"));

    tabs->setCurrentIndex(3);
    auto* table = panel.findChild<QTableWidget*>(QStringLiteral("tableWidgetLog"));
    const BenchFigures::Stats fromReply = timed([&] {
        panel.findChild<QPushButton*>(QStringLiteral("pushButtonFindLog"))->click();
        table->repaint();
    });
    const int replyEntries = card.stateNumber(QStringLiteral("logs"));

    LogSearchResponse many;
    for (int i = 0; i < 100000; ++i) {
        Log* entry = many.add_logs();
        entry->set_type(Log::E_LogType(i % 4));
        entry->set_datatime(1704067200000ULL + quint64(i) * 1000);
        entry->set_content(QStringLiteral("entry %1").arg(i + 1).toStdString());
    }
    LogPaging paging;
    int page = 0;
    const BenchFigures::Stats fromMemory = timed([&] {
        paging.setEntries(many);   // a copy, as a parsed reply would be
        for (int p = 0; p < page; ++p)
            paging.nextPage();
        showLogRows(table, paging.rows());
        table->repaint();
        page += 700;
    });

    tabs->setCurrentIndex(1);
    const VideoSourceGroupManage sources = manySources(2000);
    const BenchFigures::Stats tree = timed([&] {
        panel.fillVideoSourceTree(sources);
        panel.repaint();
    });

    std::printf("  log page from a %d-entry, 65535-byte reply over the link:\n", replyEntries);
    BenchFigures::print("    search + page", Repeats, fromReply, 26);
    std::printf("  log page from 100000 entries in memory (copied in, paged to, shown):\n");
    BenchFigures::print("    page", Repeats, fromMemory, 26);
    std::printf("  video-source tree, 2000 sources in 40 groups:\n");
    BenchFigures::print("    fill + paint", Repeats, tree, 26);
    const bool viewGoal = fromReply.median < 50 && fromMemory.median < 50 && tree.median < 50;
    std::printf("  goal upload >= 30 MB/s, gaps <= 100 ms: %s\n", uploadGoal ? "met" : "NOT MET");
    std::printf("  goal pages and tree < 50 ms (median): %s\n", viewGoal ? "met" : "NOT MET");
    if (!boxes.filter(QStringLiteral("失败")).isEmpty())
        std::printf("  messages: %s\n", qPrintable(boxes.join(QStringLiteral(" | "))));
    openIpCardLinks.clear();
    return uploaded ? 0 : 1;
}
