#pragma once

#include <QObject>
#include <QString>

#include <functional>

class PortRecords;

// Reads the matrix's reply and report lines and updates the routing map, the current scene
// number and (during a scene call) the preview labels. It keeps no state of its own.
class ReplyParser : public QObject
{
    Q_OBJECT
public:
    explicit ReplyParser(PortRecords* records, QObject* parent = nullptr);

    // Tells whether a scene call is running (the scene panel's flag). Unset: never.
    void setSceneCallProbe(std::function<bool()> probe);

    // Settings file that receives "CLIENT_INFO/CurrentSencce".
    static QString clientConfigPath();

public slots:
    // Parses one line; the first form that matches is handled.
    void clientReceived(const QString& recvStr);

signals:
    // A route report for a preview output arrived during a scene call; both 1-based.
    void previewRouteReported(int inputNumber, int outputNumber);
    // The routes should be asked for again ("Recall", "Open."); connected to the IO-status query.
    void ioStatusQueryNeeded();

private:
    bool handleClosed(const QString& line);
    bool handleArrow(const QString& line);
    bool handleRecall(const QString& line);
    bool handleRouteList(const QString& line);
    void routeArrowToPreview(int input, int output);

    PortRecords* records;
    std::function<bool()> sceneCallProbe;
};
