// Every text that the sources mark for translation must have a finished translation in each of
// the three languages, in the catalogue family it belongs to (window framework or application).
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Entry
{
    QString translation;
    bool finished = false;
};

using Catalogue = QHash<QString, Entry>; // key: context + '\x1f' + source

QString keyOf(const QString& context, const QString& source)
{
    return context + QChar(0x1f) + source;
}

bool readTs(const QString& path, Catalogue& into, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open %1").arg(path);
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("message")) {
                source.clear();
                entry = Entry();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                entry.finished = type.isEmpty();
                entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            into.insert(keyOf(context, source), entry);
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("%1: %2").arg(path, xml.errorString());
        return false;
    }
    return true;
}

QStringList sourceFolders(bool framework)
{
    const QDir src(QStringLiteral(VEXILO_SOURCE_DIR "/src"));
    if (framework)
        return {src.filePath(QStringLiteral("framework"))};
    QStringList folders;
    for (const QString& name : src.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (name != QLatin1String("framework"))
            folders << src.filePath(name);
    return folders;
}

QStringList catalogueFiles(bool framework, const QString& lang)
{
    const QDir dir(QStringLiteral(VEXILO_SOURCE_DIR "/resources/translations"));
    QStringList files;
    for (const QString& name : dir.entryList({QStringLiteral("*_%1.ts").arg(lang)}, QDir::Files))
        if (name.startsWith(QLatin1String("framework")) == framework)
            files << dir.filePath(name);
    return files;
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void everySourceTextIsTranslated_data()
    {
        QTest::addColumn<bool>("framework");
        QTest::addColumn<QString>("lang");
        for (const QString& lang : {QStringLiteral("zh_CN"), QStringLiteral("zh_TW"), QStringLiteral("en")}) {
            QTest::newRow(qPrintable("framework " + lang)) << true << lang;
            QTest::newRow(qPrintable("application " + lang)) << false << lang;
        }
    }

    void everySourceTextIsTranslated()
    {
        QFETCH(bool, framework);
        QFETCH(QString, lang);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString extracted = tmp.filePath(QStringLiteral("extracted.ts"));
        QProcess lupdate;
        QStringList args = sourceFolders(framework);
        args << QStringLiteral("-I") << QStringLiteral(VEXILO_SOURCE_DIR "/src") << QStringLiteral("-silent") << QStringLiteral("-locations") << QStringLiteral("none")
             << QStringLiteral("-ts") << extracted;
        lupdate.start(QStringLiteral(VEXILO_LUPDATE), args);
        QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
        QCOMPARE(lupdate.exitCode(), 0);

        Catalogue required;
        QString error;
        if (QFile::exists(extracted))
            QVERIFY2(readTs(extracted, required, &error), qPrintable(error));

        Catalogue shipped;
        const QStringList files = catalogueFiles(framework, lang);
        for (const QString& file : files)
            QVERIFY2(readTs(file, shipped, &error), qPrintable(error));

        QStringList problems;
        for (auto it = required.constBegin(); it != required.constEnd(); ++it) {
            const QString shown = QString(it.key()).replace(QChar(0x1f), QLatin1String(" | "));
            const auto found = shipped.constFind(it.key());
            if (found == shipped.constEnd())
                problems << QStringLiteral("missing: ") + shown;
            else if (!found->finished || found->translation.trimmed().isEmpty())
                problems << QStringLiteral("unfinished: ") + shown;
        }
        for (auto it = shipped.constBegin(); it != shipped.constEnd(); ++it) {
            if (required.contains(it.key()))
                continue;
            if (!it->finished)
                problems << QStringLiteral("unfinished entry no longer in the sources: ")
                                + QString(it.key()).replace(QChar(0x1f), QLatin1String(" | "));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
