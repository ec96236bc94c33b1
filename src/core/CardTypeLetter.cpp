#include "core/CardTypeLetter.h"

#include "core/ModelBounds.h"
#include "core/PublicClass.h"

#include <QDebug>

namespace {

struct LetterTypes
{
    char letter;
    int input;   // input card type, 0 when the letter is no input card
    int output;  // output card type, 0 when the letter is no output card
};

using T = PublicClass;

// Mixed cards (HDMI&SDI, HDMI&VGA) switch to their second kind on the last two ports.
constexpr LetterTypes letterTable[] = {
    {'a', T::eCARD_TYPE_HDMI_I, T::eCARD_TYPE_HDMI_O},
    {'b', T::eCARD_TYPE_DVI_I, T::eCARD_TYPE_DVI_O},
    {'c', T::eCARD_TYPE_SDI_I, T::eCARD_TYPE_SDI_O},
    {'d', T::eCARD_TYPE_AV_I, T::eCARD_TYPE_AV_O},
    {'i', T::eCARD_TYPE_HDMI_SDI_2HDMI_I, T::eCARD_TYPE_HDMI_SDI_2HDMI_O},
    {'j', T::eCARD_TYPE_VGA_I, T::eCARD_TYPE_VGA_O},
    {'k', T::eCARD_TYPE_HDMI_VGA_2HDMI_I, T::eCARD_TYPE_HDMI_VGA_2HDMI_O},
    {'l', T::eCARD_TYPE_HDBT_I, T::eCARD_TYPE_HDBT_O},
    {'m', T::eCARD_TYPE_Fiber_I, T::eCARD_TYPE_Fiber_O},
    {'z', T::eCARD_TYPE_4K_HDMI_I, T::eCARD_TYPE_4K_HDMI_O},
    {'0', T::eCARD_TYPE_4K_HDMI_I, T::eCARD_TYPE_4K_HDMI_O},
    {'1', T::eCARD_TYPE_4K_Fiber_I, T::eCARD_TYPE_4K_Fiber_O},
    {'3', T::eCARD_TYPE_4K_HDBT_I, T::eCARD_TYPE_4K_HDBT_O},
    {'v', T::eCARD_TYPE_4K_HDBT_I, T::eCARD_TYPE_4K_HDBT_O},
    {'f', T::eCARD_TYPE_IP_I, T::eCARD_TYPE_NONE},
    {'e', T::eCARD_TYPE_NONE, T::eCARD_TYPE_Preview_O},
};

const LetterTypes* findLetter(QChar letter)
{
    for (const LetterTypes& entry : letterTable) {
        if (letter == QLatin1Char(entry.letter))
            return &entry;
    }
    return nullptr;
}

int secondKind(int type, int position)
{
    if (position < 2)
        return type;
    switch (type) {
    case T::eCARD_TYPE_HDMI_SDI_2HDMI_I: return T::eCARD_TYPE_HDMI_SDI_2SDI_I;
    case T::eCARD_TYPE_HDMI_SDI_2HDMI_O: return T::eCARD_TYPE_HDMI_SDI_2SDI_O;
    case T::eCARD_TYPE_HDMI_VGA_2HDMI_I: return T::eCARD_TYPE_HDMI_VGA_2VGA_I;
    case T::eCARD_TYPE_HDMI_VGA_2HDMI_O: return T::eCARD_TYPE_HDMI_VGA_2VGA_O;
    default: return type;
    }
}

} // namespace

int CardTypeLetter::inputType(QChar letter, int position)
{
    const LetterTypes* entry = findLetter(letter);
    return entry ? secondKind(entry->input, position) : 0;
}

int CardTypeLetter::outputType(QChar letter, int position)
{
    const LetterTypes* entry = findLetter(letter);
    return entry ? secondKind(entry->output, position) : 0;
}

QString CardTypeLetter::withinModel(const QString& letters, const char* origin)
{
    if (letters.size() <= ModelBounds::MaxSlots)
        return letters;
    qWarning().noquote() << QStringLiteral("%1: %2 slots, beyond the largest model (%3); the rest is ignored")
                                .arg(QLatin1String(origin)).arg(letters.size()).arg(ModelBounds::MaxSlots);
    return letters.left(ModelBounds::MaxSlots);
}
