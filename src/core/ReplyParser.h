#pragma once

#include "platform/DeviceLogText.h"

#include <QObject>
#include <QString>

class PortRecords;

// Reads the matrix's reply and report lines and updates the routing map, the current scene
// number. It keeps no state of its own but the budgets of its log (a matrix that floods the
// link must not flood the log with an entry per line) and the scene recalled in the read that
// is being parsed.
class ReplyParser : public QObject
{
    Q_OBJECT
public:
    explicit ReplyParser(PortRecords* records, QObject* parent = nullptr);

    // Settings file that receives "CLIENT_INFO/CurrentSencce".
    static QString clientConfigPath();

    // What a trimmed line reports, by the first form that matches; None for a line the parser
    // leaves alone, such as the answer to a query (a card list, a version).
    enum class Report { None, Closed, Arrow, Recall, ToAll, AllThrough, Open, FactoryDefault, RouteList };
    static Report reportOf(const QString& line);
    // The answer's own line in a waited reply, which may also hold reports that arrived during the
    // wait (a front-panel switch, another console, a scene call): the first of its parts split at
    // CRLF (the last may have no CRLF) that is no report, trimmed. When every part reads as a
    // report, lone decides whether a reply of one line is its own answer (a version such as
    // "Ver 2.0A" reads as a route list) or none (a card list is never such a line).
    enum class LoneLine { Report, Answer };
    static QString answerLine(const QString& reply, LoneLine lone);

public slots:
    // Parses one line; the first form that matches is handled.
    void clientReceived(const QString& recvStr);
    // The lines of one read are parsed: the last scene recalled among them is stored. Each store
    // rewrites the client settings file, and a matrix may send thousands of recalls in one read.
    void linesDelivered();

signals:
    // The routes must be asked for again before the line is done with ("Recall": the scene
    // call that caused it reads them); connected to the IO-status query.
    void ioStatusQueryNeeded();
    // The routes changed elsewhere ("Open."): asked for again soon, bursts merged.
    void ioStatusRefreshWanted();
    // A line of one of the forms that set routes came in (route list, arrow, "Closed.",
    // "To All", "All Through.", "Factory Default"): a status query's answer has these forms.
    void routesReported();
    // A line holding "error" or "fail": the matrix refused something.
    void failureReported();

private:
    void handleClosed(const QString& line);
    void handleArrow(const QString& line);
    void handleRecall(const QString& line);
    void handleToAll(const QString& line);
    void handleFactoryDefault();
    void handleRouteList(const QString& line);
    void warnBeyondModel(const QString& line);

    PortRecords* records;
    // The scene of the last "Recall" in the current read; 0 when none.
    int recalledScene = 0;
    // Entries per output ("switched", "no input", "closed") and per line: a whole status answer
    // of the largest model (160 entries) passes, then a few a second.
    LogBudget routeLog{200, 10};
    LogBudget beyondModelLog{20, 2};
};
