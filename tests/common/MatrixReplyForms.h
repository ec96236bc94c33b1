#pragma once

// How the console reads the matrix's reply lines, reduced to their effect on a routing map
// (output index -> input index). Tests use it to check that the simulated matrix reports routes
// in forms the console understands, and that other answers are not mistaken for reports.

#include "platform/LocalCodePage.h"

#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace MatrixReplyForms {

enum Form { None, Closed, Arrow, Recall, ToAll, AllThrough, Open, FactoryDefault, RouteList };

inline QList<int> numbersIn(const QString& line)
{
    QList<int> numbers;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("\\d+")).globalMatch(line);
    while (it.hasNext())
        numbers << it.next().captured().toInt();
    return numbers;
}

// The first form a line matches, in the console's order of tests.
inline Form formOf(const QString& raw)
{
    const QString line = raw.trimmed();
    if (line.contains(QLatin1String("Closed.")))
        return Closed;
    if (line.contains(QLatin1String("A:")) || line.contains(QLatin1String("V:")) || line.contains(QLatin1String("AV:")))
        return Arrow;
    if (line.contains(QLatin1String("Recall")))
        return Recall;
    if (line.contains(QLatin1String("To All")))
        return ToAll;
    if (line.contains(QLatin1String("All Through.")))
        return AllThrough;
    if (line.contains(QLatin1String("Open.")))
        return Open;
    if (line.contains(QLatin1String("Factory Default")))
        return FactoryDefault;
    if (line.contains(QRegularExpression(QStringLiteral("\\d+[AV]"))))
        return RouteList;
    return None;
}

// Applies one line to the map as the console does; returns its form. Recall and Open only ask
// for the status again, which the caller handles.
inline Form apply(QMap<int, int>& routes, const QString& raw)
{
    const QString line = raw.trimmed();
    const Form form = formOf(line);
    const QList<int> numbers = numbersIn(line);
    switch (form) {
    case Closed:
        if (numbers.isEmpty()) {
            for (auto it = routes.begin(); it != routes.end(); ++it)
                it.value() = -1;
        } else if (numbers.first() >= 1) {
            routes[numbers.first() - 1] = -2;
        }
        break;
    case Arrow: {
        const QString text = line.mid(line.indexOf(QLatin1Char(':')) + 1).trimmed();
        const int arrow = text.indexOf(QLatin1String("->"));
        const int input = (arrow < 0 ? text : text.left(arrow)).trimmed().toInt();
        const int output = (arrow < 0 ? text : text.mid(text.lastIndexOf(QLatin1String("->")) + 2)).trimmed().toInt();
        if (output >= 1)
            routes[output - 1] = input - 1;
        break;
    }
    case ToAll:
        if (!numbers.isEmpty()) {
            for (auto it = routes.begin(); it != routes.end(); ++it)
                it.value() = numbers.first() - 1;
        }
        break;
    case AllThrough:
    case FactoryDefault:
        for (auto it = routes.begin(); it != routes.end(); ++it)
            it.value() = it.key();
        break;
    case RouteList:
        for (int i = 1; i < numbers.size(); ++i) {
            if (numbers.at(i) >= 1)
                routes[numbers.at(i) - 1] = numbers.first() - 1;
        }
        break;
    case None:
    case Recall:
    case Open:
        break;
    }
    return form;
}

// The reply split as the console splits a waited reply: at "\r\n", trimmed, empty parts dropped.
inline QStringList replyLines(const QByteArray& reply)
{
    QStringList lines;
    for (const QString& part : LocalCodePage::decode(reply).split(QStringLiteral("\r\n"))) {
        if (!part.trimmed().isEmpty())
            lines << part.trimmed();
    }
    return lines;
}

// What the console's link counts as a successful reply.
inline bool isSuccess(const QByteArray& reply)
{
    const QString text = LocalCodePage::decode(reply);
    return !text.trimmed().isEmpty() && !text.contains(QLatin1String("error"), Qt::CaseInsensitive)
           && !text.contains(QLatin1String("fail"), Qt::CaseInsensitive);
}

} // namespace MatrixReplyForms
