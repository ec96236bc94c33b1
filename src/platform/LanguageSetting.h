#pragma once

#include <QString>

// The interface language chosen on the system settings page, kept outside the program folder
// (the user's native settings: ~/.config/KIV/Vexilo.conf on Linux), value "Language", a locale
// name such as "zh_CN", "zh_TW" or "en_US".
namespace LanguageSetting {

// The stored locale name, or an empty text when none is stored.
QString read();

void write(const QString& localeName);

} // namespace LanguageSetting
