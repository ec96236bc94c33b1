#pragma once

#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <atomic>

class QFile;

namespace STMsgLogger {

// Writes finished log lines into dated files beside the executable:
// Log/<yyyy_MM_dd>/<yyyy_MM_dd_HH_mm_ss>_<application>(<pid>).log. It does not hook itself into
// the toolkit; the start-up's message handler passes each line to stLogger.
class st_logger : public QObject
{
    Q_OBJECT

public:
    st_logger();
    ~st_logger() override;

    // Filters by level, then appends one two-line entry and flushes it; starts a new file when
    // the current one has reached the size limit. Safe to call from any thread. Messages are
    // dropped when no file can be opened, and while the logger itself is emitting one.
    void writeLog(QtMsgType type, const QMessageLogContext& context, const QString& text);

    // Closes the current file and opens a new one named after the current time. Never reuses
    // the name of an existing file. False when the file cannot be created.
    bool newLogFile();

public slots:
    // 1 MiB .. 1 GiB; other values are ignored.
    void setMaxFileSize(int nSize);
    // 0 (fatal only) .. 3 (everything); other values are ignored.
    void setLogLevel(int);

protected:
    // Seams for tests; the program uses the executable's folder and the local clock.
    virtual QString applicationDirectory() const;
    virtual QDateTime currentDateTime() const;

    int logLevel() const { return level.load(std::memory_order_relaxed); }
    int fileSizeLimit() const { return maxFileSize.load(std::memory_order_relaxed); }
    QString currentFilePath();

private:
    bool openNextFile();

    QFile* file = nullptr;
    bool canOpen = true;
    QString path;
    std::atomic<int> level{2};
    std::atomic<int> maxFileSize{0x10000000};
    QMutex mutex;
};

} // namespace STMsgLogger

// The program's one logger, built before main() runs.
extern STMsgLogger::st_logger stLogger;

namespace STMsgLogger {
using ::stLogger;
}
