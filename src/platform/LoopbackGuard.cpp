#include "platform/LoopbackGuard.h"

#include <QFile>
#include <QHostAddress>
#include <QLoggingCategory>
#include <QMutex>
#include <QRegularExpression>
#include <QtGlobal>

#include <atomic>

namespace {

enum GuardState { Unknown = -1, Off = 0, On = 1 };
std::atomic<int> g_state{Unknown};
QBasicMutex g_refusedMutex;
QString g_refusedForTesting;

bool refusedForTesting(const QString& host)
{
    QMutexLocker lock(&g_refusedMutex);
    return !g_refusedForTesting.isEmpty() && host.trimmed() == g_refusedForTesting;
}

bool addressIsLoopback(const QHostAddress& address)
{
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        bool isV4 = false;
        const quint32 v4 = address.toIPv4Address(&isV4);
        if (isV4)
            return QHostAddress(v4).isLoopback();
    }
    return address.isLoopback();
}

// Looks the name up in /etc/hosts only: a DNS query would itself leave the machine.
bool hostsFileMapsToLoopback(const QString& name)
{
    QFile hosts(QStringLiteral("/etc/hosts"));
    if (!hosts.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool found = false;
    bool allLoopback = true;
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    while (!hosts.atEnd()) {
        QString line = QString::fromLocal8Bit(hosts.readLine());
        const int hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        const QStringList fields = line.split(blanks, Qt::SkipEmptyParts);
        if (fields.size() < 2)
            continue;
        for (int i = 1; i < fields.size(); ++i) {
            if (fields.at(i).compare(name, Qt::CaseInsensitive) == 0) {
                found = true;
                allLoopback = allLoopback && addressIsLoopback(QHostAddress(fields.at(0)));
            }
        }
    }
    return found && allLoopback;
}

} // namespace

namespace LoopbackGuard {

bool isActive()
{
    int state = g_state.load();
    if (state == Unknown) {
        state = qgetenv("VEXILO_LOOPBACK_ONLY") == "1" ? On : Off;
        g_state.store(state);
    }
    return state == On;
}

void setActiveForTesting(bool active)
{
    g_state.store(active ? On : Off);
}

void refuseAlsoForTesting(const QString& host)
{
    QMutexLocker lock(&g_refusedMutex);
    g_refusedForTesting = host.trimmed();
}

bool isLoopbackHost(const QString& host)
{
    QString name = host.trimmed();
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    if (name.isEmpty())
        return false;
    QHostAddress address;
    if (address.setAddress(name))
        return addressIsLoopback(address);
    // Names count only when /etc/hosts maps them to loopback: the resolver asks DNS for any
    // other name, "*.localhost" included, and a DNS answer may point anywhere.
    return hostsFileMapsToLoopback(name.toLower());
}

bool mayDial(const QString& host, const char* purpose)
{
    if (!isActive() || (isLoopbackHost(host) && !refusedForTesting(host)))
        return true;
    qCritical("Loopback guard: refused %s to \"%s\" (only 127.0.0.0/8 may be dialled)",
              purpose ? purpose : "connection", qPrintable(host));
    return false;
}

} // namespace LoopbackGuard
