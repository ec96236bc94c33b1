#include "pages/cardsettings/InputCardSettings.h"

#include "core/CardInfo.h"
#include "platform/LocalCodePage.h"

namespace {

struct LevelKeys
{
    const char* record;
    const char* command;
    int fallback;
};

constexpr LevelKeys kLevels[InputCardSettings::LevelCount] = {
    {"chroma", "Chroma", 50},
    {"brightness", "Brightness", 50},
    {"contrast", "Contrast", 50},
    {"sharpness", "Sharpness", 20},
};

const QString kConfig = QStringLiteral("CONFIG");
const QString kSubtitleKey = QStringLiteral("subtitle-content");

} // namespace

InputCardSettings::InputCardSettings(CommandSender sender)
    : CardPortSettings(CardKey::InCard, std::move(sender))
{
}

QString InputCardSettings::levelRecordKey(Level level)
{
    return QLatin1String(kLevels[level].record);
}

QString InputCardSettings::levelCommandKey(Level level)
{
    return QLatin1String(kLevels[level].command);
}

int InputCardSettings::levelDefault(Level level)
{
    return kLevels[level].fallback;
}

bool InputCardSettings::setLevel(Level level, int value, int shownBefore)
{
    if (!hasValidType() || value == shownBefore)
        return false;
    const int target = port();
    const QString digits = QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    if (!commands().send(cardType(), kConfig, levelCommandKey(level), {target + 1, digits}, false))
        return false;
    store(target, levelRecordKey(level), value);
    return true;
}

bool InputCardSettings::subtitleAcceptable(const QString& text)
{
    return !text.contains(QLatin1Char(';')) && LocalCodePage::isEncodable(text)
           && LocalCodePage::encode(text).size() <= kSubtitleMaxBytes;
}

bool InputCardSettings::setSubtitle(const QString& text)
{
    if (!hasValidType() || !subtitleAcceptable(text) || record().value(kSubtitleKey).toString() == text)
        return false;
    const int target = port();
    if (!commands().send(cardType(), kConfig, QStringLiteral("SubTitleContent"), {target + 1, text}, false))
        return false;
    store(target, kSubtitleKey, text);
    return true;
}
