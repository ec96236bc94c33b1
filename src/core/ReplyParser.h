#pragma once

#include <QObject>
#include <QString>

class PortRecords;

// Reads the matrix's reply and report lines and updates the routing map, the current scene
// number. It keeps no state of its own.
class ReplyParser : public QObject
{
    Q_OBJECT
public:
    explicit ReplyParser(PortRecords* records, QObject* parent = nullptr);

    // Settings file that receives "CLIENT_INFO/CurrentSencce".
    static QString clientConfigPath();

public slots:
    // Parses one line; the first form that matches is handled.
    void clientReceived(const QString& recvStr);

signals:
    // The routes must be asked for again before the line is done with ("Recall": the scene
    // call that caused it reads them); connected to the IO-status query.
    void ioStatusQueryNeeded();
    // The routes changed elsewhere ("Open."): asked for again soon, bursts merged.
    void ioStatusRefreshWanted();
    // A route list came in: the form of the status query's answer.
    void routeListReceived();

private:
    bool handleClosed(const QString& line);
    bool handleArrow(const QString& line);
    bool handleRecall(const QString& line);
    bool handleRouteList(const QString& line);

    PortRecords* records;
};
