#include "PtyClientLink.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyClientLink::PtyClientLink(int id, const QString& symlinkPath, QObject* parent)
    : ClientLink(id, parent), symlink(symlinkPath), hangupPoll(new QTimer(this))
{
    hangupPoll->setInterval(20);
    connect(hangupPoll, &QTimer::timeout, this, &PtyClientLink::checkHangup);
}

PtyClientLink::~PtyClientLink()
{
    closeMaster();
    if (!symlink.isEmpty())
        QFile::remove(symlink);
}

bool PtyClientLink::open(QString* error)
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (error)
            *error = QStringLiteral("pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        closeMaster();
        return false;
    }
    path = QString::fromLocal8Bit(::ptsname(master));

    // Raw line discipline from the start (a serial device does not echo); the settings on the
    // master apply to the slave.
    termios tio{};
    if (::tcgetattr(master, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(master, TCSANOW, &tio);
    }
    // Open and close the slave once, so that "nobody has it open" reads as a hang-up until the
    // first client comes.
    const int slave = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (slave >= 0)
        ::close(slave);

    if (!symlink.isEmpty()) {
        QFile::remove(symlink);
        if (!QFile::link(path, symlink)) {
            if (error)
                *error = QStringLiteral("cannot create symlink %1").arg(symlink);
            closeMaster();
            return false;
        }
    }

    readNotifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
    connect(readNotifier, &QSocketNotifier::activated, this, &PtyClientLink::readMaster);
    writeNotifier = new QSocketNotifier(master, QSocketNotifier::Write, this);
    writeNotifier->setEnabled(false);
    connect(writeNotifier, &QSocketNotifier::activated, this, &PtyClientLink::writePending);
    readNotifier->setEnabled(false);
    hangupPoll->start();
    return true;
}

void PtyClientLink::closeMaster()
{
    delete readNotifier;
    readNotifier = nullptr;
    delete writeNotifier;
    writeNotifier = nullptr;
    if (master >= 0)
        ::close(master);
    master = -1;
    pending.clear();
}

void PtyClientLink::drop()
{
    discardQueue();
    hangupPoll->stop();
    closeMaster();
    endSession();
    QString error;
    if (open(&error))
        emit pathChanged(path);
    else
        qWarning("devicesim: %s", qPrintable(error));
}

void PtyClientLink::checkHangup()
{
    if (master < 0)
        return;
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return;
    if (!(p.revents & POLLHUP)) {
        sessionOpen = true;
        hangupPoll->stop();
        readNotifier->setEnabled(true);
    }
}

void PtyClientLink::endSession()
{
    pending.clear();
    if (writeNotifier)
        writeNotifier->setEnabled(false);
    if (sessionOpen) {
        sessionOpen = false;
        emit sessionEnded();
    }
}

void PtyClientLink::readMaster()
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n > 0) {
            emit received(QByteArray(buffer, int(n)));
            if (master < 0)
                return;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        // EIO: the last opener closed the slave.
        readNotifier->setEnabled(false);
        discardQueue();
        endSession();
        hangupPoll->start();
        return;
    }
}

void PtyClientLink::writeNow(const QByteArray& bytes)
{
    if (!sessionOpen || master < 0)
        return; // nobody listens on the line
    pending += bytes;
    writePending();
}

void PtyClientLink::writePending()
{
    while (!pending.isEmpty()) {
        const ssize_t n = ::write(master, pending.constData(), size_t(pending.size()));
        if (n > 0) {
            pending.remove(0, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    writeNotifier->setEnabled(!pending.isEmpty());
}
