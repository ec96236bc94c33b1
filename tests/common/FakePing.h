#pragma once

// Puts a scripted "ping" first on PATH for the lifetime of the object, so that tests can see
// whether (and with which arguments) the system ping command was started, without any packet
// leaving the machine. Every start appends its argument list as one line to a log file.

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

class FakePing
{
public:
    // body: shell commands run after the arguments were logged ("$@" holds them).
    explicit FakePing(const QString& body)
        : savedPath(qgetenv("PATH"))
    {
        QFile script(dir.filePath(QStringLiteral("ping")));
        if (!dir.isValid() || !script.open(QIODevice::WriteOnly))
            return;
        script.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + logPath().toUtf8() + "'\n" + body.toUtf8() + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", dir.path().toUtf8() + ':' + savedPath);
        ready = true;
    }

    ~FakePing() { qputenv("PATH", savedPath); }

    FakePing(const FakePing&) = delete;
    FakePing& operator=(const FakePing&) = delete;

    bool isReady() const { return ready; }

    // One entry per start of the command: its arguments joined by blanks.
    QStringList invocations() const
    {
        QFile log(logPath());
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QString logPath() const { return dir.filePath(QStringLiteral("invocations.log")); }

    QTemporaryDir dir;
    QByteArray savedPath;
    bool ready = false;
};
