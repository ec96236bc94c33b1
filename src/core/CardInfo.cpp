#include "core/CardInfo.h"

#include "core/PublicClass.h"

QString portLabel(const QJsonObject& subRecord, int port)
{
    const QString name = subRecord.value(CardKey::Name).toString();
    if (!name.isEmpty())
        return name;
    return cardTypeName(subRecord.value(CardKey::CardType).toInt(0), 0) + QLatin1Char('-')
        + QString::number(port + 1);
}
