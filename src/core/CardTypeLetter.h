#pragma once

#include <QChar>
#include <QString>

// The card-type letters of g_inCardTypes / g_outCardTypes (one letter per four-port slot) and the
// card types they stand for. Letters are case-sensitive; unknown letters (and "*", an empty slot)
// give type 0.
class CardTypeLetter
{
public:
    // Card type of the port at position (0..3) inside an input card of this letter.
    static int inputType(QChar letter, int position);
    // Card type of the port at position (0..3) inside an output card of this letter.
    static int outputType(QChar letter, int position);

    // The letters of the first 40 slots (the largest model); a longer string is cut with one
    // warning naming what it came from.
    static QString withinModel(const QString& letters, const char* origin);

    static constexpr QChar IpInputLetter = QLatin1Char('f');
    static constexpr QChar PreviewOutputLetter = QLatin1Char('e');
    static constexpr QChar EmptySlotLetter = QLatin1Char('*');
};
