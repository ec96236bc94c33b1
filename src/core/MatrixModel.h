#pragma once

#include "core/CardInfo.h"

#include <QList>
#include <QObject>
#include <QString>

class DeviceQueries;
class PortRecords;
class ReplyParser;

// The console's model of the matrix: port records, routing map, reply parser and device queries
// wired together, fed by every line of the matrix link. The central page owns one; the pages
// subscribe to its signals. Construction loads the port records; saveCardConfig() is the
// caller's to run at teardown.
class MatrixModel : public QObject
{
    Q_OBJECT
public:
    explicit MatrixModel(QObject* parent = nullptr);
    ~MatrixModel() override;

    CardInfo getCardInfo(int port) const;
    void setCardInfo(int port, const CardInfo& record);
    bool hasCard(int port) const;
    int cardCount() const;
    int getRoute(int output) const;
    void setRoute(int output, int input);
    void setRoutes(int mode, int input, int output);
    QList<int> outputsOfInput(int input) const;
    int countChar() const;
    void loadCardConfig();
    bool saveCardConfig();

    PortRecords* records() const { return portRecords; }
    ReplyParser* parser() const { return replyParser; }
    DeviceQueries* queries() const { return deviceQueries; }

public slots:
    // Parses one line handed in by a caller (the link's lines reach the parser directly).
    void clientReceived(const QString& recvStr);
    void queryIOStatus();
    void queryIpCardAddresses();

signals:
    // The routing map changed.
    void routesChanged();
    // A port's record was replaced.
    void recordChanged(int port);

private:
    // The link has delivered the lines of one read.
    void linesDelivered(bool asReply);

    PortRecords* portRecords;
    ReplyParser* replyParser;
    DeviceQueries* deviceQueries;
};
