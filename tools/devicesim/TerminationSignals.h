#pragma once

#include <QObject>

// Turns SIGTERM and SIGINT into an orderly QCoreApplication::quit(), so that the symlink to the
// pseudo-terminal and the listeners are cleaned up.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
};
