// Kept apart from IpCardFarm.cpp so that users of the farm without a control port (tests,
// benchmarks) do not need the control channel's code.

#include "ControlChannel.h"
#include "IpCardFarm.h"

void IpCardFarm::registerControls(ControlChannel& channel)
{
    channel.registerCommand(QStringLiteral("ipcard"), helpText(),
                            [this](const QStringList& args) { return control(args.mid(1)); });
}
