#include "pages/portswitch/PortSwitcher.h"

#include "core/GlobalState.h"
#include "core/MatrixCommands.h"
#include "core/MatrixModel.h"
#include "pagekit/PortGrid.h"
#include "pagekit/PortRights.h"
#include "platform/EventLoopDelay.h"

#include <QStringList>

namespace {
int chunkPauseMs = PortSwitcher::DefaultPauseMs;
}

int PortSwitcher::pauseMs()
{
    return chunkPauseMs;
}

void PortSwitcher::setPauseMs(int ms)
{
    chunkPauseMs = qMax(0, ms);
}

PortSwitcher::PortSwitcher(MatrixModel* matrixModel, CommandSender commandSender)
    : model(matrixModel)
    , sender(std::move(commandSender))
    , portCount(qBound(0, g_deviceModel, int(PortGrid::PortCount)))
{
}

void PortSwitcher::setRights(const QMap<int, bool>& inputs, const QMap<int, bool>& outputs)
{
    inputRights = inputs;
    outputRights = outputs;
}

QList<QList<int>> PortSwitcher::chunks(const QList<int>& outputs)
{
    QList<QList<int>> runs;
    for (int i = 0; i < outputs.size(); i += ChunkSize)
        runs << outputs.mid(i, ChunkSize);
    return runs;
}

QList<int> PortSwitcher::allowedOutputs(const QList<int>& outputs) const
{
    QList<int> allowed;
    for (int output : outputs) {
        if (exists(output) && isPortAllowed(outputRights, output))
            allowed << output;
    }
    return allowed;
}

QString PortSwitcher::numberList(const QList<int>& ports)
{
    QStringList numbers;
    for (int port : ports)
        numbers << QString::number(port + 1);
    return numbers.join(QLatin1Char(','));
}

QList<int> PortSwitcher::switchOutputs(int input, const QList<int>& outputs)
{
    QList<int> done;
    if (!exists(input) || !isPortAllowed(inputRights, input))
        return done;
    const MatrixCommands commands(sender);
    for (const QList<int>& chunk : chunks(allowedOutputs(outputs))) {
        if (!commands.sendSystem(QStringLiteral("SwitchIO"), {input + 1, numberList(chunk)}, false))
            break;
        for (int output : chunk)
            model->setRoute(output, input);
        done += chunk;
        if (!delayMs(chunkPauseMs))
            break;   // quitting
    }
    return done;
}

QList<int> PortSwitcher::closeOutputs(const QList<int>& outputs)
{
    QList<int> done;
    const MatrixCommands commands(sender);
    for (const QList<int>& chunk : chunks(allowedOutputs(outputs))) {
        if (!commands.sendSystem(QStringLiteral("CloseOut"), {numberList(chunk)}, false))
            break;
        for (int output : chunk)
            model->setRoute(output, -1);
        done += chunk;
        if (!delayMs(chunkPauseMs))
            break;   // quitting
    }
    return done;
}

bool PortSwitcher::closeAll()
{
    if (!MatrixCommands(sender).sendSystem(QStringLiteral("CloseAll"), {}, false))
        return false;
    for (int output = 0; output < PortGrid::PortCount; ++output)
        model->setRoute(output, -1);
    return true;
}
