#pragma once

#include "MatrixSimulator.h"

#include <QHostAddress>
#include <QStringList>

class QCoreApplication;

// devicesim's options.
struct SimCommandLine
{
    MatrixConfig matrix;
    QHostAddress listen{QHostAddress::LocalHost};
    quint16 port = 4001;
    int controlPort = -1; // -1: no control port
    QStringList execLines;
    bool pty = false;
    QString ptyLink;
    bool ipCards = true;
    quint16 ipCardPort = 4002;
    bool streams = true;
    bool fastStreams = false; // camera-like streams unless --fast-streams
    quint16 rtspPort = 8554;
    // --help: the options' text; the caller appends the control requests and exits.
    bool helpRequested = false;
    QString helpText;

    // Parses the arguments (--version/--help as above); false with
    // the reason in error for anything unusable, a non-loopback address above all.
    bool parse(const QCoreApplication& app, QString* error);

    static bool isLoopbackV4(const QHostAddress& address);
};
