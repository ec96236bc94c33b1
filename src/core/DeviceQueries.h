#pragma once

#include "core/MatrixCommands.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class PortRecords;
class QTimer;

// The two start-up questions to the matrix: the routing status (answered by report lines that
// pass through the reply parser) and the addresses of the IP input and preview output cards.
class DeviceQueries : public QObject
{
    Q_OBJECT
public:
    explicit DeviceQueries(PortRecords* records, QObject* parent = nullptr);

    // The matrix link by default; tests put a recorder in its place.
    void setSender(CommandSender sender);

    // Dotted address from the raw reply bytes 1 to 4 (byte 0 skipped); missing bytes read as 0.
    static QString addressFromReply(const QByteArray& replyBytes);

    // The addresses of an IP input card's two network processors: the first serves the card's
    // ports 0 and 1, the second ports 2 and 3. A processor whose query failed is not answered.
    struct IpCardProcessors
    {
        QString address[2];
        bool answered[2] = {false, false};
    };
    // Selects the IP input card in a 0-based slot and asks for both addresses in turn.
    IpCardProcessors readIpInputCard(int slot);

    // A status query that got no answer is asked again after this long (the link's reconnect
    // interval), until one is answered or UnansweredLimit queries in a row went unanswered.
    static constexpr int StatusRetryMs = 6000;
    static constexpr int UnansweredLimit = 5;

public slots:
    // Sends "IOStatus" without waiting, then pumps events for model x 40 ms. A call made while a
    // query runs returns at once and is merged into one further round after it, whatever became
    // of the round it came in (a send that failed under a "not connected" box included). The
    // query is answered when, in its last round, a line that sets routes came in and no failure
    // line did; when not, it is asked again StatusRetryMs later. A query the link refused while another command held
    // it is asked again when the link is free (linkFree) or back (setLinkUp); one whose write
    // failed or timed out counts as unanswered.
    void queryIOStatus();
    // The same query from the event loop, for reports that need no answer before they return:
    // every request made while one is pending or running is merged into it.
    void requestIOStatus();
    // The same query once the lines of the current read are parsed ("Recall": a burst of
    // recalls asks once). After a waited reply it runs before the command returns, so that a
    // scene call finds the routes read; after lines the matrix sent on its own it runs from the
    // event loop, where the answer can be read.
    void queryAfterLines();
    // The link has delivered the lines of one read.
    void linesDelivered(bool asReply);
    // What came in while a status query waits: its answer, or a refusal.
    void routesReported();
    void failureReported();
    // While the link is down an unanswered query is not repeated; when it is back the query is
    // asked again (the start-up asks after the first connection).
    void setLinkUp(bool up);
    // The link refused a command because another one held it (nothing was written).
    void linkBusy();
    // A command that held the link has ended. A query the link refused meanwhile is asked now,
    // and not counted as unanswered: it was never written.
    void linkFree();
    // Stores "ip" of every IP input card's ports and "preview-Ip" of every preview card's first port.
    void queryIpCardAddresses();

private:
    bool queryAddress(int cardKind, int slot, QString* address);
    // The status query itself; every way of asking for it ends here.
    void runStatusQuery();
    void postStatusQuery();
    void statusQueryUnanswered();

    PortRecords* records;
    MatrixCommands commands;
    bool statusQueryPending = false;
    bool statusQueryRunning = false;
    bool statusQueryAgain = false;
    bool statusWantedAfterLines = false;
    bool statusQueryRefused = false;
    bool linkWasBusy = false;
    bool routesSeen = false;
    bool failureSeen = false;
    bool linkUp = true;
    int unansweredInARow = 0;
    // The retry timer, named "statusRetry".
    QTimer* statusRetry;
};
