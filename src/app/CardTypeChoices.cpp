#include "app/CardTypeChoices.h"

#include "core/PublicClass.h"

#include <QDebug>
#include <QMetaEnum>

namespace {
// Letter written for entry index 0..13; the last one is the IP input card, "e" on outputs.
const QString kLetters = QStringLiteral("*abcjdiklm013f");
constexpr int kIpOrPreviewIndex = 13;
}

void CardTypeChoices::buildEntries(QStringList* inputs, QStringList* outputs)
{
    const QMetaEnum meta = QMetaEnum::fromType<PublicClass::eCARD_TYPE>();
    QStringList in;
    QStringList out;
    for (int v = 1; v <= 157; ++v) {
        const char* rawKey = meta.valueToKey(v);
        if (!rawKey)
            continue;
        QString key = QString::fromLatin1(rawKey);
        // The mixed cards show one word for both of their port kinds.
        if (v == 11 || v == 12)
            key = QStringLiteral("eCARD_TYPE_HDMI&SDI_I");
        else if (v == 13 || v == 14)
            key = QStringLiteral("eCARD_TYPE_HDMI&SDI_O");
        else if (v == 15 || v == 16)
            key = QStringLiteral("eCARD_TYPE_HDMI&VGA_I");
        else if (v == 17 || v == 18)
            key = QStringLiteral("eCARD_TYPE_HDMI&VGA_O");
        QString text = key.mid(11).replace(QLatin1Char('_'), QLatin1Char(' '));
        if (text.contains(QLatin1String(" I")))
            in << text.remove(QStringLiteral(" I"));
        else if (text.contains(QLatin1String(" O")))
            out << text.remove(QStringLiteral(" O"));
    }
    in.removeDuplicates();
    out.removeDuplicates();
    qDebug() << "系统支持板卡列表" << in << out;
    in.prepend(QStringLiteral("NONE"));
    out.prepend(QStringLiteral("NONE"));
    if (inputs)
        *inputs = in;
    if (outputs)
        *outputs = out;
}

QStringList CardTypeChoices::inputEntries()
{
    QStringList in;
    buildEntries(&in, nullptr);
    return in;
}

QStringList CardTypeChoices::outputEntries()
{
    QStringList out;
    buildEntries(nullptr, &out);
    return out;
}

int CardTypeChoices::indexOfLetter(QChar letter, bool output)
{
    switch (letter.unicode()) {
    case 'a': return 1;
    case 'b': return 2;
    case 'c': return 3;
    case 'j': return 4;
    case 'd': return 5;
    case 'i': return 6;
    case 'k': return 7;
    case 'l': return 8;
    case 'm': return 9;
    case 'z':
    case '0': return 10;
    case '1': return 11;
    case '3':
    case 'v': return 12;
    case 'f': return output ? 0 : kIpOrPreviewIndex;
    case 'e': return output ? kIpOrPreviewIndex : 0;
    default: return 0;
    }
}

QChar CardTypeChoices::letterOfIndex(int index, bool output)
{
    if (index < 1 || index >= kLetters.size())
        return QLatin1Char('*');
    if (output && index == kIpOrPreviewIndex)
        return QLatin1Char('e');
    return kLetters.at(index);
}

void CardTypeChoices::padToCount(QString& letters, int count)
{
    while (letters.size() < count)
        letters.append(QLatin1Char('*'));
}
