// data/CardConfig.dat as any file may be: loading keeps within the largest model, what is
// saved loads back with every name and setting it had, and a second save changes nothing more.
#include "FuzzSupport.h"

#include "core/CardInfo.h"
#include "core/GlobalState.h"
#include "core/ModelBounds.h"
#include "core/PortRecords.h"

namespace {

QList<QJsonObject> loadAll()
{
    PortRecords records;
    records.loadCardConfig();
    FuzzSupport::require(records.cardCount() <= ModelBounds::MaxPorts, "more records than ports");
    QList<QJsonObject> all;
    for (int port = 0; port < ModelBounds::MaxPorts; ++port)
        all << records.getCardInfo(port);
    FuzzSupport::require(records.saveCardConfig(), "records not saved");
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::setUp();
    g_inCardTypes = QStringLiteral("afiz");
    g_outCardTypes = QStringLiteral("ek");
    FuzzSupport::writeFile(PortRecords::configFilePath(), FuzzSupport::bytes(data, size));

    const QList<QJsonObject> first = loadAll();
    const QList<QJsonObject> second = loadAll();
    const QList<QJsonObject> third = loadAll();
    FuzzSupport::require(second == third, "records change with every save");
    for (int port = 0; port < ModelBounds::MaxPorts; ++port) {
        // Loading adds "id" and card types; every other value survives the file.
        for (const QString& sub : {CardKey::InCard, CardKey::OutCard}) {
            QJsonObject before = first.at(port).value(sub).toObject();
            QJsonObject after = second.at(port).value(sub).toObject();
            before.remove(CardKey::CardType);
            after.remove(CardKey::CardType);
            FuzzSupport::require(before == after, "a setting changed on its way through the file");
        }
    }
    return 0;
}
