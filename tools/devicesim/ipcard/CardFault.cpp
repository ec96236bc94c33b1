#include "CardFault.h"

#include <QHash>

namespace {

struct KindInfo
{
    CardFault::Kind kind;
    bool takesValue;
};

const QHash<QString, KindInfo>& kinds()
{
    static const QHash<QString, KindInfo> table = {
        {QStringLiteral("result"), {CardFault::Result, true}},
        {QStringLiteral("silence"), {CardFault::Silence, false}},
        {QStringLiteral("close"), {CardFault::Close, false}},
        {QStringLiteral("reset"), {CardFault::Reset, false}},
        {QStringLiteral("late"), {CardFault::Late, true}},
        {QStringLiteral("wrongid"), {CardFault::WrongId, false}},
        {QStringLiteral("truncate"), {CardFault::Truncate, true}},
        {QStringLiteral("cut"), {CardFault::Cut, true}},
        {QStringLiteral("bodylen"), {CardFault::BodyLength, true}},
        {QStringLiteral("garbage"), {CardFault::Garbage, true}},
        {QStringLiteral("split"), {CardFault::Split, true}},
        {QStringLiteral("babble"), {CardFault::Babble, true}},
        {QStringLiteral("latebody"), {CardFault::LateBody, true}},
    };
    return table;
}

bool toNumber(const QString& text, int low, int high, int* value)
{
    bool ok = false;
    const int number = text.toInt(&ok, 0);
    if (!ok || number < low || number > high)
        return false;
    *value = number;
    return true;
}

} // namespace

bool CardFault::matches(int requestClass, int requestCommand) const
{
    return remaining != 0 && (msgClass < 0 || msgClass == requestClass)
           && (msgCommand < 0 || msgCommand == requestCommand);
}

bool CardFault::replacesRequest() const
{
    return kind == Result || kind == Silence || kind == Close || kind == Reset || kind == Garbage
           || kind == Babble || kind == LateBody;
}

bool CardFault::parse(const QStringList& words, CardFault* fault, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (words.isEmpty() || !kinds().contains(words.first()))
        return fail(QStringLiteral("unknown fault kind"));
    CardFault parsed;
    const KindInfo info = kinds().value(words.first());
    parsed.kind = info.kind;
    int i = 1;
    if (info.takesValue) {
        if (i >= words.size() || !toNumber(words.at(i), 0, 0xFFFFFF, &parsed.value))
            return fail(QStringLiteral("fault needs a number"));
        if (parsed.kind == Result && parsed.value > 255)
            return fail(QStringLiteral("result must be 0-255"));
        ++i;
    }
    while (i < words.size()) {
        const QString& word = words.at(i);
        if (word == QLatin1String("on") && i + 1 < words.size()) {
            const QStringList pair = words.at(i + 1).split(QLatin1Char('/'));
            if (pair.size() != 2 || !toNumber(pair.at(0), 0, 255, &parsed.msgClass)
                || !toNumber(pair.at(1), 0, 255, &parsed.msgCommand))
                return fail(QStringLiteral("on needs <class>/<command>"));
            i += 2;
        } else if (word == QLatin1String("times") && i + 1 < words.size()) {
            if (words.at(i + 1) == QLatin1String("always"))
                parsed.remaining = -1;
            else if (!toNumber(words.at(i + 1), 1, 1000000, &parsed.remaining))
                return fail(QStringLiteral("times needs a count or always"));
            i += 2;
        } else {
            return fail(QStringLiteral("unexpected word: %1").arg(word));
        }
    }
    *fault = parsed;
    return true;
}
