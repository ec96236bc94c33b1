#include "Utilities.h"

#include "DesCipher.h"
#include "LoopbackGuard.h"
#include "SystemPing.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRegExp>
#include <QSettings>
#include <QTcpSocket>
#include <QTimer>
#include <QWidget>

#include <cstring>
#include <memory>

bool checkTcpConnect(const QString& host, quint16 port, int timeoutMs)
{
    if (!LoopbackGuard::mayDial(host, "reachability test"))
        return false;
    QTcpSocket socket;
    socket.abort();
    socket.connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    return socket.waitForConnected(timeoutMs);
}

bool isDirExist(const QString& path)
{
    return QDir(path).exists();
}

void moveCenter(QWidget* w, int width, int height)
{
    if (!w)
        return;
    QSize area(width, height);
    if (width == 0 && height == 0) {
        if (const QWidget* parent = w->parentWidget())
            area = parent->size();
        else
            area = QApplication::desktop()->size();
    }
    // Halved first (truncating toward zero), then made non-negative.
    const int x = qAbs((area.width() - w->width()) / 2);
    const int y = qAbs((area.height() - w->height()) / 2);
    w->move(x, y);
}

bool isIpAddress(const QString& text)
{
    // [0-9] rather than \d: QRegExp's \d also takes non-ASCII digits, which no device accepts.
    const QRegExp address(QStringLiteral(
        "((2[0-4][0-9]|25[0-5]|[01]?[0-9][0-9]?)\\.){3}(2[0-4][0-9]|25[0-5]|[01]?[0-9][0-9]?)"));
    return address.exactMatch(text);
}

bool ping(const QString& ip, int timeoutMs)
{
    return SystemPing::ping(ip, timeoutMs);
}

void setSkin(const QString& qssFile, QWidget* widget)
{
    const QString fileName = qssFile.isEmpty() ? QStringLiteral("skin/qss/default.qss") : qssFile;
    const QString styleSheet = readFile(fileName);
    if (widget)
        widget->setStyleSheet(styleSheet);
    else if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        app->setStyleSheet(styleSheet);

    QSettings settings(QStringLiteral("data/MainConfig.dat"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Skin/FileName"), fileName);
}

void delayMs(int ms)
{
    if (ms <= 0)
        return;
    // A monotonic clock: the time of day jumps at midnight and when the clock is set.
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 remaining = ms;
    while (remaining > 0) {
        QEventLoop loop;
        QTimer::singleShot(int(qMin<qint64>(remaining, 100)), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec(QEventLoop::AllEvents);
        remaining = ms - elapsed.elapsed();
    }
}

QString desEncrypt(const QString& text, const QString& key)
{
    // Too large for the stack of every thread.
    const auto cipher = std::make_unique<DesCipher>();
    return cipher->encryptToHex(text, key);
}

QList<int> extractNumbers(const QString& text)
{
    QList<int> numbers;
    const QRegExp digits(QStringLiteral("([0-9]+)"));
    int from = 0;
    while ((from = digits.indexIn(text, from)) != -1) {
        numbers.append(digits.cap(0).toInt(nullptr, 10));
        from += digits.matchedLength();
    }
    return numbers;
}

QString readFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = file.readAll();
    file.close();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return QString::fromUtf8(bytes);
}

void copyToCharArray(char* dst, const QString& src, int dstSize)
{
    if (!dst || dstSize <= 0)
        return;
    const QByteArray utf8 = src.toUtf8();
    int length = qMin(utf8.size(), dstSize - 1);
    // Back off to the start of a character: continuation bytes are 10xxxxxx.
    if (length < utf8.size()) {
        while (length > 0 && (static_cast<unsigned char>(utf8.at(length)) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(dst, utf8.constData(), size_t(length));
    dst[length] = '\0';
}
