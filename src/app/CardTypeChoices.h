#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The entries of the card-type dialog's combo boxes and how they map to the card-type letters
// of g_inCardTypes / g_outCardTypes. Built from the card-type enumeration: index 0 is "NONE",
// then one entry per kind of card in enumeration order.
class CardTypeChoices
{
public:
    // "NONE", "HDMI", "DVI", ... "IP" / "Preview".
    static QStringList inputEntries();
    static QStringList outputEntries();

    // Entry index for a slot's letter; unknown letters give 0 (NONE).
    static int indexOfLetter(QChar letter, bool output);
    // Letter written for an entry index: "*" for NONE or an unknown index.
    static QChar letterOfIndex(int index, bool output);

    // Pads letters with "*" up to count; longer strings keep their extra letters.
    static void padToCount(QString& letters, int count);

private:
    static void buildEntries(QStringList* inputs, QStringList* outputs);
};
