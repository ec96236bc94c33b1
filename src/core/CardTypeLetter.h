#pragma once

#include <QChar>

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

    static constexpr QChar IpInputLetter = QLatin1Char('f');
    static constexpr QChar PreviewOutputLetter = QLatin1Char('e');
    static constexpr QChar EmptySlotLetter = QLatin1Char('*');
};
