// templategen: writes the command template files data/command<N>/<card type word>.ini from the
// readable source templates.json, with QSettings so that the console's INI reader reads every
// key and value back as written (Chinese texts escaped, values with ";" or "," quoted).
#include "TemplateTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "templategen: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return fail(QStringLiteral("usage: templategen <templates.json> <data folder>"));

    TemplateTable table;
    QString error;
    if (!table.load(args.at(1), &error))
        return fail(error);

    for (int language = 0; language < TemplateTable::LanguageCount; ++language) {
        const QList<TemplateEntry> entries = table.entries(language, &error);
        if (entries.isEmpty())
            return fail(error);
        const QString folder = QStringLiteral("%1/command%2").arg(args.at(2)).arg(language);
        if (!QDir().mkpath(folder))
            return fail(QStringLiteral("cannot create %1").arg(folder));
        for (const QString& word : table.fileWords()) {
            const QString path = QStringLiteral("%1/%2.ini").arg(folder, word);
            // Start from nothing: QSettings would keep keys left from an earlier source.
            QFile::remove(path);
            QSettings settings(path, QSettings::IniFormat);
            for (const TemplateEntry& entry : entries) {
                if (entry.fileWord == word)
                    settings.setValue(entry.section + QLatin1Char('/') + entry.key, entry.value);
            }
            settings.sync();
            if (settings.status() != QSettings::NoError)
                return fail(QStringLiteral("cannot write %1").arg(path));
        }
    }
    return 0;
}
