#include "pages/switching/SceneStore.h"
#include "platform/ConfigFiles.h"

#include <QSettings>

namespace SceneStore {

namespace {
const QString kArray = ConfigFiles::sceneArray();
const QString kName = QStringLiteral("Name");
} // namespace

QString configPath()
{
    return ConfigFiles::clientConfig();
}

int sceneNumber(int index, int model)
{
    return model == 160 ? index + 1 : index;
}

QStringList loadNames(const QStringList& defaults)
{
    QSettings settings(configPath(), QSettings::IniFormat);
    settings.beginReadArray(kArray);
    QStringList names;
    for (int i = 0; i < kSceneCount; ++i) {
        settings.setArrayIndex(i);
        names << settings.value(kName, defaults.value(i)).toString();
    }
    settings.endArray();
    return names;
}

void saveName(int index, const QString& name)
{
    QSettings settings(configPath(), QSettings::IniFormat);
    settings.beginWriteArray(kArray);
    settings.setArrayIndex(index);
    settings.setValue(kName, name);
    settings.endArray();
}

void storeCurrentScene(int number)
{
    QSettings settings(configPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("CLIENT_INFO/CurrentSencce"), number);
}

} // namespace SceneStore
