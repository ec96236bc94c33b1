// The reply parser on whatever lines a matrix may send: every route it records stays within the
// largest model, whatever the numbers in the line.
#include "FuzzSupport.h"

#include "core/ModelBounds.h"
#include "core/PortRecords.h"
#include "core/ReplyParser.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::setUp();
    PortRecords records;
    ReplyParser parser(&records);
    for (const QString& line : QString::fromUtf8(FuzzSupport::bytes(data, size)).split(QLatin1Char('\n')))
        parser.clientReceived(line);

    const RouteMap routes = records.routes();
    FuzzSupport::require(routes.size() <= ModelBounds::MaxPorts, "more routes than outputs");
    for (auto it = routes.cbegin(); it != routes.cend(); ++it) {
        FuzzSupport::require(ModelBounds::isPortIndex(it.key()), "route of an output beyond the model");
        FuzzSupport::require(it.value() >= -2 && it.value() < ModelBounds::MaxPorts, "route from an input beyond the model");
    }
    return 0;
}
