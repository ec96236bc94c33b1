#include "core/PortRecords.h"
#include "platform/ConfigFiles.h"

#include "core/AtomicFile.h"
#include "core/CardTypeLetter.h"
#include "core/GlobalState.h"
#include "core/ModelBounds.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

namespace {
const QString cardListKey = QStringLiteral("card-list");
}

PortRecords::PortRecords(QObject* parent)
    : QObject(parent)
    , saveTimer(new QTimer(this))
{
    saveTimer->setSingleShot(true);
    saveTimer->setInterval(DefaultSaveDelayMs);
    connect(saveTimer, &QTimer::timeout, this, &PortRecords::saveCardConfig);
}

void PortRecords::setSaveDelay(int ms)
{
    saveTimer->setInterval(ms);
}

bool PortRecords::isSavePending() const
{
    return saveTimer->isActive();
}

void PortRecords::scheduleSave()
{
    // Not restarted by later changes: a steady stream of them must not postpone the save forever.
    if (!saveTimer->isActive())
        saveTimer->start();
}

QString PortRecords::configFilePath()
{
    return ConfigFiles::cardConfig();
}

CardInfo PortRecords::getCardInfo(int port) const
{
    return records.value(port);
}

void PortRecords::setCardInfo(int port, const CardInfo& record)
{
    if (!ModelBounds::isPortIndex(port)) {
        if (port >= 0)
            qWarning() << "port record beyond the largest model ignored:" << port;
        return;
    }
    records.insert(port, record);
    scheduleSave();
    emit recordChanged(port);
}

bool PortRecords::hasCard(int port) const
{
    return records.contains(port);
}

int PortRecords::cardCount() const
{
    return records.size();
}

int PortRecords::getRoute(int output) const
{
    return routeMap.value(output, -1);
}

void PortRecords::setRoute(int output, int input)
{
    if (!ModelBounds::isPortIndex(output))
        return;
    const auto old = routeMap.constFind(output);
    if (old != routeMap.constEnd() && old.value() == input)
        return;
    routeMap.insert(output, input);
    emit routesChanged();
}

void PortRecords::setRoutes(int mode, int input, int output)
{
    switch (mode) {
    case 0:
        if (ModelBounds::isPortIndex(output - 1))
            routeMap.insert(output - 1, input - 1);
        break;
    case 1:
    case 2:
    case 3:
        // Only outputs that were routed before; the others keep reading as -1.
        for (auto it = routeMap.begin(); it != routeMap.end(); ++it) {
            if (mode == 1)
                it.value() = -1;
            else if (mode == 2)
                it.value() = input - 1;
            else
                it.value() = it.key();
        }
        break;
    default:
        break;
    }
    emit routesChanged();
}

QList<int> PortRecords::outputsOfInput(int input) const
{
    QList<int> outputs;
    for (auto it = routeMap.cbegin(); it != routeMap.cend(); ++it) {
        if (it.value() == input)
            outputs.append(it.key());
    }
    return outputs;
}

int PortRecords::countChar() const
{
    return g_outCardTypes.count(CardTypeLetter::PreviewOutputLetter);
}

void PortRecords::loadCardConfig()
{
    records.clear();

    QFile file(configFilePath());
    if (file.open(QIODevice::ReadOnly)) {
        // A truncated or foreign file parses as nothing and leaves no records.
        const QJsonArray list = QJsonDocument::fromJson(file.readAll()).object().value(cardListKey).toArray();
        int beyond = 0;
        for (const QJsonValue& value : list) {
            QJsonObject element = value.toObject();
            const int id = element.value(CardKey::Id).toInt(0);
            if (!ModelBounds::isPortIndex(id)) {
                ++beyond;
                continue;
            }
            // Card types come from the letter strings only, never from the file.
            for (const QString& subKey : {CardKey::InCard, CardKey::OutCard}) {
                QJsonObject sub = element.value(subKey).toObject();
                sub.insert(CardKey::CardType, 0);
                element.insert(subKey, sub);
            }
            records.insert(id, element);
        }
        if (beyond > 0)
            qWarning() << configFilePath() << ": records outside the largest model ignored:" << beyond;
    }

    applyLetters(CardTypeLetter::withinModel(g_inCardTypes, "input card letters"), CardKey::InCard, true);
    applyLetters(CardTypeLetter::withinModel(g_outCardTypes, "output card letters"), CardKey::OutCard, false);
}

void PortRecords::applyLetters(const QString& letters, const QString& subKey, bool input)
{
    for (int slot = 0; slot < letters.size(); ++slot) {
        const QChar letter = letters.at(slot);
        for (int position = 0; position < 4; ++position) {
            const int port = 4 * slot + position;
            const int type = input ? CardTypeLetter::inputType(letter, position)
                                   : CardTypeLetter::outputType(letter, position);
            QJsonObject record = records.value(port);
            QJsonObject sub = record.value(subKey).toObject();
            sub.insert(CardKey::CardType, type);
            record.insert(subKey, sub);
            records.insert(port, record);
        }
    }
}

bool PortRecords::saveCardConfig()
{
    QJsonArray list;
    for (auto it = records.cbegin(); it != records.cend(); ++it) {
        QJsonObject record = it.value();
        record.insert(CardKey::Id, it.key());
        list.append(record);
    }
    return writeFileAtomically(configFilePath(),
                               QJsonDocument(QJsonObject{{cardListKey, list}}).toJson(QJsonDocument::Indented));
}
