#include "TemplateTable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// Keys starting with "_" carry notes for the reader of the source.
bool isNote(const QString& key)
{
    return key.startsWith(QLatin1Char('_'));
}

} // namespace

bool TemplateTable::load(const QString& jsonPath, QString* error)
{
    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("cannot read %1").arg(jsonPath));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject())
        return fail(error, QStringLiteral("%1: %2").arg(jsonPath, parseError.errorString()));
    root = document.object();
    return true;
}

QStringList TemplateTable::fileWords() const
{
    return root.value(QLatin1String("files")).toObject().keys();
}

QStringList TemplateTable::optionGroups(const QString& fileWord) const
{
    const QString kind = root.value(QLatin1String("files")).toObject().value(fileWord).toObject()
                             .value(QLatin1String("kind")).toString();
    return root.value(QLatin1String("kinds")).toObject().value(kind).toObject()
        .value(QLatin1String("groups")).toObject().keys();
}

QList<TemplateEntry> TemplateTable::entries(int language, QString* error) const
{
    QList<TemplateEntry> out;
    const QJsonObject files = root.value(QLatin1String("files")).toObject();
    const QJsonObject kinds = root.value(QLatin1String("kinds")).toObject();
    for (const QString& fileWord : files.keys()) {
        const QJsonObject file = files.value(fileWord).toObject();
        const QJsonObject kind = kinds.value(file.value(QLatin1String("kind")).toString()).toObject();
        if (kind.isEmpty()) {
            fail(error, QStringLiteral("%1: unknown kind").arg(fileWord));
            return {};
        }
        // Plain sections: key = template (INTERNAL_EDID: key = choice, value = EDID number).
        for (const QString& section : kind.keys()) {
            if (section == QLatin1String("groups") || section == QLatin1String("defaults"))
                continue;
            const QJsonObject keys = kind.value(section).toObject();
            for (const QString& key : keys.keys()) {
                if (isNote(key))
                    continue;
                const QJsonValue value = keys.value(key);
                const QString text = value.isDouble()
                                         ? QLatin1String("/EDID:%1:") + QString::number(value.toInt()) + QLatin1Char(';')
                                         : value.toString();
                out.append({fileWord, section, key, text});
            }
        }
        const QJsonObject groups = kind.value(QLatin1String("groups")).toObject();
        const QJsonObject defaults = kind.value(QLatin1String("defaults")).toObject();
        for (const QString& section : groups.keys()) {
            const QString choiceSet = file.value(section).toString(defaults.value(section).toString());
            if (!appendGroup(out, fileWord, section, groups.value(section).toString(), choiceSet, language, error))
                return {};
        }
    }
    return out;
}

bool TemplateTable::appendGroup(QList<TemplateEntry>& out, const QString& fileWord, const QString& section,
                                const QString& word, const QString& choiceSet, int language, QString* error) const
{
    const QJsonArray choices = root.value(QLatin1String("choices")).toObject().value(choiceSet).toArray();
    if (choices.isEmpty())
        return fail(error, QStringLiteral("%1/%2: no choices \"%3\"").arg(fileWord, section, choiceSet));
    int position = 0;
    for (const QJsonValue& choice : choices) {
        const QJsonArray parts = choice.toArray();
        // [token, text] or [token, zh_CN, zh_TW, en]
        if (parts.size() != 2 && parts.size() != 1 + LanguageCount)
            return fail(error, QStringLiteral("%1: malformed choice in \"%2\"").arg(fileWord, choiceSet));
        const QString text = parts.at(parts.size() == 2 ? 1 : 1 + language).toString();
        const QString key = QStringLiteral("%1.%2").arg(++position, 2, 10, QLatin1Char('0')).arg(text);
        out.append({fileWord, section, key, QStringLiteral("/%1:%2:%3;").arg(word, QStringLiteral("%1"),
                                                                                parts.at(0).toString())});
    }
    return true;
}
