#pragma once

#include "CardInfo.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class DeviceQueries;
class PortRecords;
class ReplyParser;

// The logic behind the central page: port records, routing map, reply parser and device queries
// wired together. The central widget owns one and forwards its operations under the same names.
// Construction loads the port records; saveCardConfig() is the caller's to run at teardown.
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

    // Scene panel's "scene call running" flag, read by the parser for route reports.
    void setSceneCallProbe(std::function<bool()> probe);

    PortRecords* records() const { return portRecords; }
    ReplyParser* parser() const { return replyParser; }
    DeviceQueries* queries() const { return deviceQueries; }

public slots:
    // One line from the link's clientReceived(QString).
    void clientReceived(const QString& recvStr);
    void queryIOStatus();
    void queryIpCardAddresses();

signals:
    // The switching page should refresh its current page (refreshPage(-1)).
    void switchPageRefreshNeeded();
    // The preview strip should relabel (refreshNames), both numbers 1-based.
    void previewNamesRefreshNeeded(int inputNumber, int outputNumber);

private:
    PortRecords* portRecords;
    ReplyParser* replyParser;
    DeviceQueries* deviceQueries;
};
