// data/ClientConfig.dat as any file may be: the login reads the last user, the connection and
// the card letters from it, the port records follow the letters within the largest model, and
// the scene panel reads its names.
#include "FuzzSupport.h"

#include "app/CLoginDialog.h"
#include "app/ClientConfig.h"
#include "core/GlobalState.h"
#include "core/ModelBounds.h"
#include "core/PortRecords.h"
#include "pages/switching/SceneStore.h"

#include <QApplication>
#include <QComboBox>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::setUp<QApplication>();
    static CLoginDialog* login = new CLoginDialog(nullptr);
    FuzzSupport::writeFile(ClientConfig::path(), FuzzSupport::bytes(data, size));
    QFile::remove(PortRecords::configFilePath());

    login->readSettings();
    FuzzSupport::require(login->getModelCombo()->currentIndex() >= 0, "no model chosen");
    FuzzSupport::require(g_connectionType == 0 || g_connectionType == 1, "unknown connection type");

    PortRecords records;
    records.loadCardConfig();
    FuzzSupport::require(records.cardCount() <= ModelBounds::MaxPorts, "more records than ports");

    const QStringList names = SceneStore::loadNames(QStringList());
    FuzzSupport::require(names.size() == SceneStore::kSceneCount, "not ten scenes");
    return 0;
}
