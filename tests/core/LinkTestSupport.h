#pragma once

// Shared by the matrix link tests: a fresh link per test and a recorder of its signals in order.

#include "core/CCHelper.h"
#include "platform/LoopbackGuard.h"
#include <QTimer>
#include <QtTest>

// Every signal of the link as one ordered list of "name:argument".
class LinkRecorder : public QObject
{

public:
    explicit LinkRecorder(CCHelper* link)
    {
        connect(link, &CCHelper::message, this, [this](const QString& t) { events << QStringLiteral("message:") + t; });
        connect(link, &CCHelper::clientConnectTimeout, this, [this] { events << QStringLiteral("timeout"); });
        connect(link, &CCHelper::clientConnected, this, [this] { events << QStringLiteral("connected"); });
        connect(link, &CCHelper::clientDisConnected, this, [this] { events << QStringLiteral("disconnected"); });
        connect(link, &CCHelper::notConnected, this, [this] { events << QStringLiteral("notconnected"); });
        connect(link, &CCHelper::clientReceived, this, [this](const QString& l) {
            events << QStringLiteral("line:") + l;
            lines << l;
        });
    }
    int count(const QString& event) const { return events.count(event); }
    bool has(const QString& prefix) const
    {
        for (const QString& e : events)
            if (e.startsWith(prefix))
                return true;
        return false;
    }

    QStringList events;
    QStringList lines;
};

inline CCHelper* freshLink()
{
    delete CCHelper::instance();
    LoopbackGuard::setActiveForTesting(true);
    return CCHelper::instance();
}

