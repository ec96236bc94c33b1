#pragma once

#include "core/CardInfo.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class QTimer;

// The console's model of the matrix: one record per port and the routing map. Records are loaded
// from data/CardConfig.dat (card types always follow g_inCardTypes / g_outCardTypes) and written
// back shortly after each change (a burst of changes makes one write), so that a crash or a
// power loss keeps what the operator set. Ports and outputs lie within the largest model
// (ModelBounds). GUI thread only.
class PortRecords : public QObject
{
    Q_OBJECT
public:
    explicit PortRecords(QObject* parent = nullptr);

    // Relative to the working directory (the program folder).
    static QString configFilePath();

    // A copy of the port's record; an empty object when it has none (no entry is created).
    CardInfo getCardInfo(int port) const;
    // Stores the record under the port, tells recordChanged() and schedules a save; ports outside
    // the largest model are ignored.
    void setCardInfo(int port, const CardInfo& record);
    bool hasCard(int port) const;
    int cardCount() const;

    // Routing value of the output; -1 when it has no entry.
    int getRoute(int output) const;
    // Stores the value unchanged (-1 closes the output) and tells routesChanged() when it differs
    // from the one held; outputs outside the largest model are ignored.
    void setRoute(int output, int input);
    // Bulk routing, input and output 1-based where used:
    // 0 one route (output-1 <- input-1), 1 close every routed output, 2 input to every routed
    // output, 3 every routed output fed by the input of its own index. Always ends with
    // routesChanged().
    void setRoutes(int mode, int input, int output);
    // 0-based outputs whose routing value equals the input, ascending.
    QList<int> outputsOfInput(int input) const;
    RouteMap routes() const { return routeMap; }

    // Number of preview output cards ("e") in g_outCardTypes.
    int countChar() const;

    // Empties the records, reads the file (when it opens and parses) and applies the letter strings.
    void loadCardConfig();
    // Writes every record, "id" set to its port, atomically; on failure the old file stays.
    // Returns whether the file was written (callers may ignore it: failures are silent).
    bool saveCardConfig();
    // Time between a change and its save; changes made meanwhile ride along.
    void setSaveDelay(int ms);
    bool isSavePending() const;

    static constexpr int DefaultSaveDelayMs = 500;

signals:
    // The routing map changed.
    void routesChanged();
    // The port's record was replaced.
    void recordChanged(int port);

private:
    void applyLetters(const QString& letters, const QString& subKey, bool input);

    void scheduleSave();

    QMap<int, QJsonObject> records;
    RouteMap routeMap;
    QTimer* saveTimer;
};
