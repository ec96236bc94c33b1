#include "pages/cardsettings/CardPortSettings.h"

#include "core/CardInfo.h"
#include "core/OptionGroup.h"
#include "core/PortSettingStore.h"
#include "core/PublicClass.h"
#include "pagekit/PageModel.h"

CardPortSettings::CardPortSettings(const QString& side, CommandSender sender)
    : sideKey(side)
    , matrix(std::move(sender))
{
}

QJsonObject CardPortSettings::record() const
{
    return hasPort() ? PortSettingStore::side(PageModel::model(), selected, sideKey) : QJsonObject();
}

int CardPortSettings::cardType() const
{
    return record().value(CardKey::CardType).toInt(0);
}

bool CardPortSettings::hasValidType() const
{
    return hasPort() && isValidEnumValue(cardType());
}

QString CardPortSettings::displayName() const
{
    return portLabel(record(), selected);
}

int CardPortSettings::storedInt(const QString& key, int fallback) const
{
    return record().value(key).toInt(fallback);
}

bool CardPortSettings::rename(int port, const QString& text)
{
    if (port < 0 || PortSettingStore::side(PageModel::model(), port, sideKey).value(CardKey::Name) == QJsonValue(text))
        return false;
    store(port, CardKey::Name, text);
    return true;
}

bool CardPortSettings::chooseOption(const QString& group, const QString& key, int index, const QString& text)
{
    if (!hasValidType())
        return false;
    const int port = selected;
    if (!OptionGroup::sendChoice(matrix, cardType(), group, index, text, port + 1))
        return false;
    store(port, key, index);
    return true;
}

OptionGroup CardPortSettings::readGroup(const QString& group) const
{
    return OptionGroup::read(cardType(), group);
}

void CardPortSettings::store(int port, const QString& key, const QJsonValue& value) const
{
    PortSettingStore::store(PageModel::model(), port, sideKey, key, value);
}
