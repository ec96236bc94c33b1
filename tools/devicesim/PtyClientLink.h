#pragma once

#include "ClientLink.h"

#include <QString>

class QSocketNotifier;
class QTimer;

// The serial side of the matrix: the master of a pseudo-terminal pair. Clients open the slave
// path (or the symlink to it) as a serial port. A session ends when the last opener closes the
// slave; the next opener starts a new one.
class PtyClientLink : public ClientLink
{
    Q_OBJECT
public:
    PtyClientLink(int id, const QString& symlinkPath, QObject* parent = nullptr);
    ~PtyClientLink() override;

    bool open(QString* error);
    QString slavePath() const { return path; }
    void setId(int id) { renewId(id); }

    // Pulls the cable: closes the pair (the client sees a read error) and opens a new one,
    // whose path replaces the old one (and the symlink is moved to it).
    void drop() override;
    bool wantsNotifications() const override { return sessionOpen; }

signals:
    void sessionEnded();
    void pathChanged(const QString& path);

protected:
    void writeNow(const QByteArray& bytes) override;
    qint64 bufferedBytes() const override { return pending.size(); }

private:
    void closeMaster();
    void readMaster();
    void writePending();
    void checkHangup();
    void endSession();

    int master = -1;
    QString path;
    QString symlink;
    bool sessionOpen = false;
    QByteArray pending;
    QSocketNotifier* readNotifier = nullptr;
    QSocketNotifier* writeNotifier = nullptr;
    QTimer* hangupPoll;
};
