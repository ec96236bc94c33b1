#pragma once

#include "core/MatrixCommands.h"

#include <QString>
#include <QStringList>

// An option group of a command template file: one INI section per setting, whose keys are a
// two-digit position, "." and the display text ("03.Mute") and whose values are the commands that
// choose the entry. A choice is stored as its 0-based position; its command is found again by
// rebuilding the key from that position and the display text, so the positions of a group must
// run 01, 02, 03, ... in key order. A group numbered otherwise is logged when it is read: the
// entries whose key cannot be rebuilt find no command and nothing is sent for them.
class OptionGroup
{
public:
    OptionGroup() = default;

    // The group of the template file of a card type, in the current language.
    static OptionGroup read(int cardType, const QString& group);
    // The group of one template file; empty when the file or the group is missing.
    static OptionGroup readFile(const QString& path, const QString& group);
    // The keys of a group that lists its choices whole, without positions (the built-in EDIDs).
    static QStringList plainKeys(int cardType, const QString& group);

    // Keys in the order the INI reader lists them (plain string order).
    QStringList keys() const { return entryKeys; }
    // Display texts in key order: everything after the first "." (a key without one, whole).
    QStringList texts() const;
    bool isEmpty() const { return entryKeys.isEmpty(); }
    int size() const { return int(entryKeys.size()); }
    // Whether every key is the one its position rebuilds.
    bool isNumberedInOrder() const;

    // The key of the entry at a 0-based position with that display text: "%02d.%s".
    static QString keyAt(int index, const QString& text);
    static QString textOf(const QString& key);

    // Sends the command of a choice (waiting for the matrix's answer) with %1 = the 1-based port
    // number; false, with nothing sent, when the rebuilt key has no command.
    static bool sendChoice(const MatrixCommands& commands, int cardType, const QString& group, int index,
                           const QString& text, int portNumber);

private:
    static QStringList readKeys(const QString& path, const QString& group);
    void logNumberingFaults(const QString& path, const QString& group) const;

    QStringList entryKeys;
};
