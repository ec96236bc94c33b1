#pragma once

#include "core/LinkSender.h"

#include <QList>
#include <QMap>

class MatrixModel;

// Switches and closes sets of outputs for the port-switch page. The matrix takes at most 32
// outputs per command and needs a pause after each (2000 ms); a chunk's routes enter the
// routing map only once its command was written, and the first command the link refuses ends
// the operation. Ports outside the user's rights, and ports the current model does not have,
// are never part of a command.
class PortSwitcher
{
public:
    static constexpr int ChunkSize = 32;
    static constexpr int DefaultPauseMs = 2000;

    // The pause after every command; tests and benchmarks shorten it.
    static int pauseMs();
    static void setPauseMs(int ms);

    // Sends through the matrix link unless a sender is given. The ports are those of the model
    // chosen at login (g_deviceModel).
    explicit PortSwitcher(MatrixModel* model, CommandSender sender = CommandSender());

    // The user's rights (0-based port -> permitted; a missing port is permitted).
    void setRights(const QMap<int, bool>& inputRights, const QMap<int, bool>& outputRights);

    // All 0-based. Each returns the outputs whose command was written, in order.
    QList<int> switchOutputs(int input, const QList<int>& outputs);
    QList<int> closeOutputs(const QList<int>& outputs);
    // Closes every output and clears all 160 routes; false when the command was not written.
    bool closeAll();

    // outputs in runs of ChunkSize, in their order.
    static QList<QList<int>> chunks(const QList<int>& outputs);

private:
    bool exists(int port) const { return port >= 0 && port < portCount; }
    QList<int> allowedOutputs(const QList<int>& outputs) const;
    static QString numberList(const QList<int>& ports);

    MatrixModel* model;
    CommandSender sender;
    int portCount;
    QMap<int, bool> inputRights;
    QMap<int, bool> outputRights;
};
