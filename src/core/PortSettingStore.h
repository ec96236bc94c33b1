#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

class MatrixModel;

// One setting of one port in the model. Each write takes the record as the model holds it now and
// changes only that key of its "in-card" or "out-card", so that what another page stored in the
// meantime stays (a page never writes back a copy it took earlier).
namespace PortSettingStore {

// The port's record; a port without one gets one holding only its "id" (as the pages' lists do).
QJsonObject ensureRecord(MatrixModel* model, int port);

// The port's "in-card" or "out-card" (side = CardKey::InCard or CardKey::OutCard); empty when none.
QJsonObject side(const MatrixModel* model, int port, const QString& side);

// Sets key = value in that side of the port's record (made with "id" when missing).
void store(MatrixModel* model, int port, const QString& side, const QString& key, const QJsonValue& value);

} // namespace PortSettingStore
