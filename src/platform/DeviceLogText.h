#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

// What a device sends reaches the log bounded, because the log files are never deleted: a long
// text is cut with its full length given, and a burst of events is logged up to a budget and
// then counted.
namespace DeviceLogText {

// Characters (or bytes) of one received text that are written to the log.
constexpr int ExcerptLength = 160;

// The text itself when it is no longer than ExcerptLength; else its start followed by
// "...[N chars]" (N its full length).
QString excerpt(const QString& text);
// As above for raw bytes, "...[N bytes]".
QByteArray excerpt(const QByteArray& bytes);

} // namespace DeviceLogText

// Log entries allowed to one kind of device event: a burst of up to `burst` passes, then
// `perSecond` a second. Events beyond the budget are counted; the count is handed to the next
// event that passes, so that the log says how many it left out.
class LogBudget
{
public:
    LogBudget(int burst, int perSecond);

    // True when this event may be logged. heldBack then receives the number of events left
    // out since the last one that passed (and the count starts again).
    bool admit(int* heldBack);

private:
    const int burst;
    const int perSecond;
    double tokens;
    int skipped = 0;
    QElapsedTimer clock;
    qint64 lastRefill = 0;
};
