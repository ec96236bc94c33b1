#pragma once

// Routing maps written as text in data-driven tests: "0:2,5:-1" is {0: 2, 5: -1}.

#include "core/CardInfo.h"

#include <QStringList>

inline RouteMap parseRoutes(const QString& text)
{
    RouteMap map;
    for (const QString& pair : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(QLatin1Char(':'));
        map.insert(parts.at(0).toInt(), parts.at(1).toInt());
    }
    return map;
}

// Sets every route of the text on a model with setRoute(output, input).
template <typename Model>
void seedRoutes(Model& model, const QString& text)
{
    const RouteMap map = parseRoutes(text);
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        model.setRoute(it.key(), it.value());
}
