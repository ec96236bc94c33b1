#include "framework/StMsgLogger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QTextStream>

STMsgLogger::st_logger stLogger;

namespace STMsgLogger {

namespace {

// Set while this thread is inside writeLog: anything the toolkit reports from there (a warning
// of the file layer, say) comes back through the message handler and must not lock again.
thread_local bool t_writing = false;

struct WritingScope
{
    WritingScope() { t_writing = true; }
    ~WritingScope() { t_writing = false; }
};

// Tag and the level from which a message type is written.
const char* tagFor(QtMsgType type, int* threshold)
{
    switch (type) {
    case QtDebugMsg:
        *threshold = 3;
        return "Debug   :";
    case QtWarningMsg:
        *threshold = 2;
        return "Warning :";
    case QtCriticalMsg:
        *threshold = 1;
        return "Critical:";
    case QtFatalMsg:
        *threshold = 0;
        return "Fatal   :";
    default:
        *threshold = 3;
        return "Unknown :";
    }
}

} // namespace

st_logger::st_logger() = default;

st_logger::~st_logger()
{
    QMutexLocker lock(&mutex);
    delete file;
    file = nullptr;
}

void st_logger::writeLog(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    int threshold = 0;
    const char* tag = tagFor(type, &threshold);
    if (level.load(std::memory_order_relaxed) < threshold || t_writing)
        return;
    WritingScope scope;
    QMutexLocker lock(&mutex);

    if (!file) {
        if (canOpen)
            canOpen = openNextFile();
        if (!file)
            return;
    }

    const QString entry = currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz\t"))
        + QLatin1String(tag) + QLatin1Char('\t') + text + QLatin1Char('\n')
        + QStringLiteral("\t\t\t\t\t\t\t\t\t\t\tFrom    :\t%1:%2\n")
              .arg(QString::number(context.line), QString::fromUtf8(context.function));
    {
        QTextStream stream(file); // the locale's codec
        stream << entry;
        stream.flush();
    }
    file->flush();

    if (file->size() >= maxFileSize.load(std::memory_order_relaxed))
        canOpen = openNextFile();
}

bool st_logger::newLogFile()
{
    QMutexLocker lock(&mutex);
    return openNextFile();
}

void st_logger::setMaxFileSize(int nSize)
{
    if (nSize >= 0x100000 && nSize <= 0x40000000)
        maxFileSize.store(nSize, std::memory_order_relaxed);
}

void st_logger::setLogLevel(int value)
{
    if (value >= 0 && value <= 3)
        level.store(value, std::memory_order_relaxed);
}

QString st_logger::applicationDirectory() const
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                        : QDir::currentPath();
}

QDateTime st_logger::currentDateTime() const
{
    return QDateTime::currentDateTime();
}

QString st_logger::currentFilePath()
{
    QMutexLocker lock(&mutex);
    return file ? path : QString();
}

bool st_logger::openNextFile()
{
    const QDateTime now = currentDateTime();
    const QString folder = applicationDirectory() + QStringLiteral("/Log/")
        + now.toString(QStringLiteral("yyyy_MM_dd")) + QLatin1Char('/');
    QDir().mkpath(folder);
    const QString stem = folder + now.toString(QStringLiteral("yyyy_MM_dd_HH_mm_ss_"))
        + QCoreApplication::applicationName()
        + QStringLiteral("(%1)").arg(QCoreApplication::applicationPid());

    if (file) {
        file->close();
        delete file; // owned here, not by a parent: other threads log too
        file = nullptr;
    }

    // Two rollovers within one second would give one name: count on instead of truncating.
    path = stem + QStringLiteral(".log");
    for (int counter = 2; QFile::exists(path); ++counter)
        path = stem + QStringLiteral("_%1.log").arg(counter);

    auto* next = new QFile(path);
    if (!next->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        delete next;
        return false;
    }
    file = next;
    return true;
}

} // namespace STMsgLogger
