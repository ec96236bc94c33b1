// The log-file writer: level filter, entry format, size rollover, dated folders, failures and
// concurrent writers.
#include "framework/StMsgLogger.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <vector>

namespace {

const QDateTime kStart(QDate(2026, 12, 6), QTime(14, 3, 7, 45));
const QString kFrom = QStringLiteral("\t\t\t\t\t\t\t\t\t\t\tFrom    :\t");

class TestLogger : public STMsgLogger::st_logger
{
public:
    explicit TestLogger(const QString& dir) : dir(dir) {}

    QString dir;
    QDateTime now = kStart;
    mutable std::atomic<int> directoryQueries{0};
    bool warnWhileStamping = false;

    using st_logger::currentFilePath;
    using st_logger::fileSizeLimit;
    using st_logger::logLevel;

protected:
    QString applicationDirectory() const override
    {
        ++directoryQueries;
        return dir;
    }
    QDateTime currentDateTime() const override
    {
        if (warnWhileStamping)
            qWarning("warning raised inside the logger");
        return now;
    }
};

QString fileNameAt(const QDateTime& time, const QString& suffix = QString())
{
    return time.toString(QStringLiteral("yyyy_MM_dd_HH_mm_ss_")) + QCoreApplication::applicationName()
        + QStringLiteral("(%1)").arg(QCoreApplication::applicationPid()) + suffix
        + QStringLiteral(".log");
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList logFiles(const QString& root)
{
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.log")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

const QMessageLogContext kContext("origin.cpp", 42, "void Origin::run()", "default");

STMsgLogger::st_logger* g_forwardTo = nullptr;

void forwardToLogger(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (g_forwardTo)
        g_forwardTo->writeLog(type, context, text);
}

} // namespace

class TestLoggerSuite : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void levelFilter_data();
    void levelFilter();
    void setters_data();
    void setters();
    void rolloverAtSizeLimitKeepsEveryFile();
    void newDatedFolderAfterMidnight();
    void unwritableFolderDropsMessages();
    void messageFromInsideTheLoggerIsDropped();
    void concurrentWritersDoNotInterleave();

private:
    std::unique_ptr<QTemporaryDir> root;
};

void TestLoggerSuite::init()
{
    root = std::make_unique<QTemporaryDir>();
    QVERIFY(root->isValid());
}

void TestLoggerSuite::levelFilter_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("tag"); // empty: dropped

    QTest::newRow("debug at 2 dropped") << 2 << int(QtDebugMsg) << QString();
    QTest::newRow("info at 2 dropped") << 2 << int(QtInfoMsg) << QString();
    QTest::newRow("warning at 2") << 2 << int(QtWarningMsg) << "Warning :";
    QTest::newRow("critical at 2") << 2 << int(QtCriticalMsg) << "Critical:";
    QTest::newRow("warning at 1 dropped") << 1 << int(QtWarningMsg) << QString();
    QTest::newRow("critical at 1") << 1 << int(QtCriticalMsg) << "Critical:";
    QTest::newRow("critical at 0 dropped") << 0 << int(QtCriticalMsg) << QString();
    QTest::newRow("fatal at 0") << 0 << int(QtFatalMsg) << "Fatal   :";
    QTest::newRow("debug at 3") << 3 << int(QtDebugMsg) << "Debug   :";
    QTest::newRow("info at 3 is unknown") << 3 << int(QtInfoMsg) << "Unknown :";
}

void TestLoggerSuite::levelFilter()
{
    QFETCH(int, level);
    QFETCH(int, type);
    QFETCH(QString, tag);

    TestLogger logger(root->path());
    logger.setLogLevel(level);
    logger.writeLog(QtMsgType(type), kContext, QStringLiteral("disk 3 of 4 offline"));

    if (tag.isEmpty()) {
        // Nothing written means nothing created, not even the folder.
        QVERIFY(!QDir(root->filePath(QStringLiteral("Log"))).exists());
        return;
    }
    const QString path = root->filePath(QStringLiteral("Log/2026_12_06/") + fileNameAt(kStart));
    QCOMPARE(logger.currentFilePath(), path);
    const QString expected = QStringLiteral("2026-12-06 14:03:07.045\t") + tag
        + QStringLiteral("\tdisk 3 of 4 offline\n") + kFrom + QStringLiteral("42:void Origin::run()\n");
    QCOMPARE(QString::fromLocal8Bit(contentOf(path)), expected);
}

void TestLoggerSuite::setters_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("expectedLevel");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("expectedSize");
    const int start = 0x10000000;
    QTest::newRow("lowest") << 0 << 0 << 0x100000 << 0x100000;
    QTest::newRow("highest") << 3 << 3 << 0x40000000 << 0x40000000;
    QTest::newRow("above range") << 4 << 2 << 0x40000001 << start;
    QTest::newRow("below range") << -1 << 2 << 0xFFFFF << start;
    QTest::newRow("zero size") << 1 << 1 << 0 << start;
}

void TestLoggerSuite::setters()
{
    QFETCH(int, level);
    QFETCH(int, expectedLevel);
    QFETCH(int, size);
    QFETCH(int, expectedSize);
    TestLogger logger(root->path());
    QCOMPARE(logger.logLevel(), 2);
    QCOMPARE(logger.fileSizeLimit(), 0x10000000);
    logger.setLogLevel(level);
    logger.setMaxFileSize(size);
    QCOMPARE(logger.logLevel(), expectedLevel);
    QCOMPARE(logger.fileSizeLimit(), expectedSize);
}

void TestLoggerSuite::rolloverAtSizeLimitKeepsEveryFile()
{
    const int limit = 0x100000;
    TestLogger logger(root->path());
    logger.setMaxFileSize(limit);
    const QMessageLogContext noContext;

    logger.writeLog(QtWarningMsg, noContext, QStringLiteral("first"));
    const QString first = logger.currentFilePath();
    const int overhead = int(QFileInfo(first).size()) - 5; // the entry around a text

    // One byte short of the limit: still the same file.
    const int room = limit - int(QFileInfo(first).size()) - overhead;
    logger.writeLog(QtWarningMsg, noContext, QString(room - 1, QLatin1Char('a')));
    QCOMPARE(QFileInfo(first).size(), qint64(limit - 1));
    QCOMPARE(logger.currentFilePath(), first);

    // Reaching the limit exactly starts the next file at once.
    logger.writeLog(QtWarningMsg, noContext, QString());
    QCOMPARE(QFileInfo(first).size(), qint64(limit - 1 + overhead));
    QVERIFY(QFileInfo(first).size() >= limit);
    const QString second = logger.currentFilePath();
    QVERIFY(second != first);

    // Two rollovers in the same second: neither file is overwritten.
    logger.writeLog(QtWarningMsg, noContext, QStringLiteral("second ") + QString(limit, QLatin1Char('b')));
    const QString third = logger.currentFilePath();
    logger.writeLog(QtWarningMsg, noContext, QStringLiteral("third"));

    const QString folder = QStringLiteral("Log/2026_12_06/");
    QCOMPARE(logFiles(root->path()),
             QStringList({folder + fileNameAt(kStart), folder + fileNameAt(kStart, QStringLiteral("_2")),
                          folder + fileNameAt(kStart, QStringLiteral("_3"))}));
    QVERIFY(contentOf(first).contains("\tfirst\n"));
    QVERIFY(contentOf(second).contains("\tsecond bbbb"));
    QVERIFY(contentOf(third).contains("\tthird\n"));
    QVERIFY(!contentOf(third).contains("second"));
}

void TestLoggerSuite::newDatedFolderAfterMidnight()
{
    TestLogger logger(root->path());
    logger.setMaxFileSize(0x100000);
    logger.now = QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59, 900));
    logger.writeLog(QtCriticalMsg, kContext, QStringLiteral("before midnight"));

    const QDateTime after(QDate(2026, 12, 7), QTime(0, 0, 0, 200));
    logger.now = after;
    logger.writeLog(QtCriticalMsg, kContext, QString(0x100000, QLatin1Char('x'))); // rolls over
    logger.writeLog(QtCriticalMsg, kContext, QStringLiteral("after midnight"));

    const QString newPath = root->filePath(QStringLiteral("Log/2026_12_07/") + fileNameAt(after));
    QCOMPARE(logger.currentFilePath(), newPath);
    QVERIFY(contentOf(newPath).startsWith("2026-12-07 00:00:00.200\tCritical:\tafter midnight\n"));
    QCOMPARE(logFiles(root->path()).size(), 2);
}

void TestLoggerSuite::unwritableFolderDropsMessages()
{
    // A regular file where the folder would go: no folder can be made, whoever runs the test.
    const QString blocker = root->filePath(QStringLiteral("not-a-folder"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    TestLogger logger(blocker);
    for (int i = 0; i < 200; ++i)
        logger.writeLog(QtCriticalMsg, kContext, QStringLiteral("lost %1").arg(i));
    QCOMPARE(logger.currentFilePath(), QString());
    QCOMPARE(logger.directoryQueries.load(), 1); // one attempt, then messages are dropped
    QCOMPARE(QFileInfo(blocker).size(), qint64(0));
    QVERIFY(!logger.newLogFile());
}

void TestLoggerSuite::messageFromInsideTheLoggerIsDropped()
{
    TestLogger logger(root->path());
    g_forwardTo = &logger;
    const QtMessageHandler previous = qInstallMessageHandler(forwardToLogger);
    logger.warnWhileStamping = true;
    logger.writeLog(QtWarningMsg, kContext, QStringLiteral("outer")); // must not lock itself out
    logger.warnWhileStamping = false;
    qInstallMessageHandler(previous);
    g_forwardTo = nullptr;

    const QByteArray content = contentOf(logger.currentFilePath());
    QVERIFY(content.contains("\touter\n"));
    QVERIFY(!content.contains("inside the logger"));
}

void TestLoggerSuite::concurrentWritersDoNotInterleave()
{
    TestLogger logger(root->path());
    logger.setLogLevel(3);
    const int threads = 4;
    const int perThread = 250;
    std::vector<std::unique_ptr<QThread>> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back(QThread::create([&logger, t] {
            for (int i = 0; i < perThread; ++i)
                logger.writeLog(QtDebugMsg, kContext, QStringLiteral("thread %1 message %2").arg(t).arg(i));
        }));
        workers.back()->start();
    }
    for (auto& worker : workers)
        QVERIFY(worker->wait(30000));

    const QStringList lines = QString::fromLocal8Bit(contentOf(logger.currentFilePath()))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2 * threads * perThread);
    const QRegularExpression head(
        QStringLiteral("\\A2026-12-06 14:03:07\\.045\tDebug   :\tthread (\\d) message (\\d+)\\z"));
    std::vector<int> next(threads, 0);
    for (int i = 0; i < lines.size(); i += 2) {
        const QRegularExpressionMatch match = head.match(lines.at(i));
        QVERIFY2(match.hasMatch(), qPrintable(lines.at(i)));
        QCOMPARE(lines.at(i + 1), kFrom + QStringLiteral("42:void Origin::run()"));
        const int t = match.captured(1).toInt();
        QCOMPARE(match.captured(2).toInt(), next[size_t(t)]++); // each thread's order kept
    }
}

QTEST_GUILESS_MAIN(TestLoggerSuite)
#include "tst_logger.moc"
