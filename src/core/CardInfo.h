#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>

// One JSON record per port: {"id": int, "in-card": InCardInfo, "out-card": OutCardInfo}.
// Ports are 0-based; slot k serves ports 4k to 4k+3.
using CardInfo = QJsonObject;
// The port seen as an input: "card_type", "name", option indexes, slider values, "ip", ...
using InCardInfo = QJsonObject;
// The port seen as an output: "card_type", "name", resolutions, "previewType", "preview-Ip", ...
using OutCardInfo = QJsonObject;
// Output port index -> input port index; -1 no input, -2 closed by a "Closed." report.
// An output without an entry reads as -1.
using RouteMap = QMap<int, int>;

// Keys of the records that more than one class reads.
namespace CardKey {
inline const QString Id = QStringLiteral("id");
inline const QString InCard = QStringLiteral("in-card");
inline const QString OutCard = QStringLiteral("out-card");
inline const QString CardType = QStringLiteral("card_type");
inline const QString Name = QStringLiteral("name");
inline const QString Ip = QStringLiteral("ip");
inline const QString PreviewIp = QStringLiteral("preview-Ip");
} // namespace CardKey

// Label of a port in every list, tile and preview: the sub-record's "name", or when it is empty
// the display word of its card type, "-" and the 1-based port number.
QString portLabel(const QJsonObject& subRecord, int port);
