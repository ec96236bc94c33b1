#include "platform/LanguageSetting.h"

#include <QSettings>


namespace LanguageSetting {

QString read()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KIV"),
                       QStringLiteral("Vexilo"));
    return settings.value(QStringLiteral("Language")).toString();
}

void write(const QString& localeName)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KIV"),
                       QStringLiteral("Vexilo"));
    settings.setValue(QStringLiteral("Language"), localeName);
    settings.sync();
}

} // namespace LanguageSetting
