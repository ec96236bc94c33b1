#include "core/PortSettingStore.h"

#include "core/CardInfo.h"
#include "core/MatrixModel.h"

namespace PortSettingStore {

QJsonObject ensureRecord(MatrixModel* model, int port)
{
    if (!model->hasCard(port))
        model->setCardInfo(port, CardInfo{{CardKey::Id, port}});
    return model->getCardInfo(port);
}

QJsonObject side(const MatrixModel* model, int port, const QString& side)
{
    return model && port >= 0 ? model->getCardInfo(port).value(side).toObject() : QJsonObject();
}

void store(MatrixModel* model, int port, const QString& side, const QString& key, const QJsonValue& value)
{
    if (!model || port < 0)
        return;
    CardInfo record = model->getCardInfo(port);
    record.insert(CardKey::Id, port);
    QJsonObject sub = record.value(side).toObject();
    sub.insert(key, value);
    record.insert(side, sub);
    model->setCardInfo(port, record);
}

} // namespace PortSettingStore
