#include "core/OptionGroup.h"

#include "core/PublicClass.h"

#include <QDebug>
#include <QFileInfo>
#include <QSettings>

OptionGroup OptionGroup::read(int cardType, const QString& group)
{
    return readFile(commandFilePath(cardType), group);
}

OptionGroup OptionGroup::readFile(const QString& path, const QString& group)
{
    OptionGroup options;
    options.entryKeys = readKeys(path, group);
    options.logNumberingFaults(path, group);
    return options;
}

QStringList OptionGroup::plainKeys(int cardType, const QString& group)
{
    return readKeys(commandFilePath(cardType), group);
}

QStringList OptionGroup::readKeys(const QString& path, const QString& group)
{
    if (!QFileInfo::exists(path)) {
        qWarning().noquote() << QStringLiteral("template file %1 is missing: option group %2 is empty")
                                    .arg(path, group);
        return {};
    }
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup(group);
    return ini.childKeys();
}

QStringList OptionGroup::texts() const
{
    QStringList list;
    list.reserve(entryKeys.size());
    for (const QString& key : entryKeys)
        list << textOf(key);
    return list;
}

bool OptionGroup::isNumberedInOrder() const
{
    for (int i = 0; i < entryKeys.size(); ++i) {
        if (entryKeys.at(i) != keyAt(i, textOf(entryKeys.at(i))))
            return false;
    }
    return true;
}

QString OptionGroup::keyAt(int index, const QString& text)
{
    return QStringLiteral("%1.%2").arg(index + 1, 2, 10, QLatin1Char('0')).arg(text);
}

QString OptionGroup::textOf(const QString& key)
{
    const int dot = key.indexOf(QLatin1Char('.'));
    return dot < 0 ? key : key.mid(dot + 1);
}

bool OptionGroup::sendChoice(const MatrixCommands& commands, int cardType, const QString& group, int index,
                             const QString& text, int portNumber)
{
    if (index < 0)
        return false;
    return commands.send(cardType, group, keyAt(index, text), {portNumber}, true);
}

void OptionGroup::logNumberingFaults(const QString& path, const QString& group) const
{
    for (int i = 0; i < entryKeys.size(); ++i) {
        const QString expected = keyAt(i, textOf(entryKeys.at(i)));
        if (entryKeys.at(i) != expected) {
            qWarning().noquote() << QStringLiteral(
                "option group %1 of %2: entry %3 is \"%4\", not \"%5\" (positions must run 01, 02, ... "
                "without gaps or repeats); choosing it finds no command")
                .arg(group, path).arg(i + 1).arg(entryKeys.at(i), expected);
        }
    }
}
