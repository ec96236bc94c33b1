#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// One key of one command template file.
struct TemplateEntry
{
    QString fileWord;   // card type word, the file name without ".ini"
    QString section;
    QString key;
    QString value;
};

// The readable source of the command template files (templates.json) turned into the entries of
// every file, per interface language (0 Simplified Chinese, 1 Traditional Chinese, 2 English).
class TemplateTable
{
public:
    static constexpr int LanguageCount = 3;

    bool load(const QString& jsonPath, QString* error);

    QStringList fileWords() const;
    // Every entry of every file in one language; a source error gives an empty list and error.
    QList<TemplateEntry> entries(int language, QString* error = nullptr) const;
    // Sections of a file whose keys are "NN.text" choices.
    QStringList optionGroups(const QString& fileWord) const;

private:
    bool appendGroup(QList<TemplateEntry>& out, const QString& fileWord, const QString& section,
                     const QString& word, const QString& choiceSet, int language, QString* error) const;

    QJsonObject root;
};
