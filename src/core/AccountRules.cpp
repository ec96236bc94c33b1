#include "core/AccountRules.h"

#include <QCoreApplication>
#include <QVector>

#include <algorithm>
#include <iterator>

namespace AccountRules {

bool isPrintableLatin1(const QString& text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u > 0xFF || u == 0xAD)
            return false;
    }
    return true;
}

namespace {

struct Range
{
    uint first;
    uint last;
};

template <size_t N>
bool inRanges(const Range (&ranges)[N], uint codePoint)
{
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [codePoint](const Range& r) { return codePoint >= r.first && codePoint <= r.last; });
}

// Default_Ignorable_Code_Point of the Unicode character database (DerivedCoreProperties.txt of
// Unicode 14.0, newer than Qt's tables): what a font shows as nothing, whether or not the
// character is assigned yet. Qt has no lookup of this property.
constexpr Range defaultIgnorable[] = {
    {0x00AD, 0x00AD},   {0x034F, 0x034F},   {0x061C, 0x061C}, {0x115F, 0x1160}, {0x17B4, 0x17B5},
    {0x180B, 0x180F},   {0x200B, 0x200F},   {0x202A, 0x202E}, {0x2060, 0x206F}, {0x3164, 0x3164},
    {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3},
    {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
};

// The blocks that hold most emoji, a coarse cover of Extended_Pictographic: miscellaneous
// technical (watch, hourglass), miscellaneous symbols and dingbats, the arrows and shapes of
// U+2B00, and U+1F000..U+1FAFF (cards, pictographs, faces, transport, supplemental symbols).
constexpr Range pictographic[] = {
    {0x2300, 0x23FF}, {0x2600, 0x27BF}, {0x2B00, 0x2BFF}, {0x1F000, 0x1FAFF},
};

constexpr uint zeroWidthNonJoiner = 0x200C;
constexpr uint zeroWidthJoiner = 0x200D;
constexpr uint brailleBlank = 0x2800;
constexpr int viramaClass = 9;

bool isJoiningType(uint codePoint, QChar::JoiningType a, QChar::JoiningType b)
{
    const QChar::JoiningType type = QChar::joiningType(codePoint);
    return type == a || type == b;
}

// A letter, nonspacing marks, a virama, then marks that combine: the joiner chooses how the
// conjunct is drawn (Devanagari, Bengali, Malayalam...).
bool followsVirama(const QVector<uint>& text, int joiner)
{
    for (int i = joiner - 1; i >= 0; --i) {
        if (QChar::combiningClass(text[i]) == viramaClass) {
            int letter = i - 1;
            while (letter >= 0 && QChar::category(text[letter]) == QChar::Mark_NonSpacing)
                --letter;
            if (letter >= 0 && QChar::isLetter(text[letter]))
                return true;
        }
        if (QChar::category(text[i]) != QChar::Mark_NonSpacing || QChar::combiningClass(text[i]) == 0)
            return false;
    }
    return false;
}

// A non-joiner between two letters that would join, marks aside: it breaks a cursive link, as
// Persian writes it after the prefix "mi".
bool breaksCursiveJoin(const QVector<uint>& text, int joiner)
{
    int before = joiner - 1;
    while (before >= 0 && QChar::joiningType(text[before]) == QChar::Joining_Transparent)
        --before;
    int after = joiner + 1;
    while (after < text.size() && QChar::joiningType(text[after]) == QChar::Joining_Transparent)
        ++after;
    return before >= 0 && after < text.size()
           && isJoiningType(text[before], QChar::Joining_Dual, QChar::Joining_Left)
           && isJoiningType(text[after], QChar::Joining_Dual, QChar::Joining_Right);
}

// The joiners are invisible but change how their neighbours are drawn, so the contexts where
// they do are allowed: after a virama, a non-joiner inside cursive script, a joiner between two
// emoji (an emoji sequence such as woman + laptop).
bool joinerHasEffect(const QVector<uint>& text, int i)
{
    switch (text[i]) {
    case zeroWidthNonJoiner:
        return followsVirama(text, i) || breaksCursiveJoin(text, i);
    case zeroWidthJoiner:
        return followsVirama(text, i)
               || (i > 0 && i + 1 < text.size() && inRanges(pictographic, text[i - 1])
                   && inRanges(pictographic, text[i + 1]));
    default:
        return false;
    }
}

// Characters a name cannot be told by: controls (C0, DEL, C1), format characters (zero-width
// space, soft hyphen, direction marks), other characters shown as nothing (variation selectors,
// Hangul fillers, the Braille blank), line and paragraph separators and noncharacters. "Admin"
// followed by one of them looks like "Admin" and is not found when "Admin" is typed. A character
// Qt does not know yet passes: it may be a new emoji.
bool isRefusedAt(const QVector<uint>& text, int i)
{
    const uint codePoint = text[i];
    if (joinerHasEffect(text, i))
        return false;
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return QChar::isNonCharacter(codePoint) || codePoint == brailleBlank
               || inRanges(defaultIgnorable, codePoint);
    }
}

// Lone surrogates, which UTF-8 cannot carry, would not come back from the store as themselves.
bool hasUnprintableCharacter(const QString& text)
{
    const QVector<uint> codePoints = text.toUcs4();
    for (int i = 0; i < codePoints.size(); ++i) {
        if (isRefusedAt(codePoints, i))
            return true;
    }
    return QString::fromUtf8(text.toUtf8()) != text;
}

} // namespace

Verdict checkNewName(const QString& name)
{
    if (name.isEmpty())
        return Verdict::Empty;
    if (hasUnprintableCharacter(name) || name.trimmed() != name)
        return Verdict::NotPrintable;
    if (name.toUtf8().size() > MaxNameBytes)
        return Verdict::TooLong;
    return Verdict::Ok;
}

QString preparedName(const QString& name)
{
    QString kept;
    kept.reserve(name.size());
    for (int i = 0; i < name.size(); ++i) {
        // Pairs by hand: toUcs4 would turn a lone surrogate into U+FFFD, another name.
        const bool pair = name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate();
        const uint codePoint = pair ? QChar::surrogateToUcs4(name.at(i), name.at(i + 1)) : name.at(i).unicode();
        const int width = pair ? 2 : 1;
        if (QChar::category(codePoint) == QChar::Separator_Space)
            kept += QLatin1Char(' ');
        else if (!inRanges(defaultIgnorable, codePoint))
            kept += name.midRef(i, width);
        i += width - 1;
    }
    // NFC after the removal: a mark parted from its base by an ignorable composes with it.
    return kept.normalized(QString::NormalizationForm_C).trimmed();
}

QString shownName(const QString& name)
{
    const QVector<uint> codePoints = name.toUcs4();
    QString shown;
    for (int i = 0; i < codePoints.size(); ++i) {
        if (isRefusedAt(codePoints, i))
            shown += QStringLiteral("<U+%1>").arg(codePoints[i], 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += QString::fromUcs4(&codePoints[i], 1);
    }
    return shown;
}

Verdict checkNewPassword(const QString& password)
{
    if (password.isEmpty())
        return Verdict::Empty;
    if (!isPrintableLatin1(password))
        return Verdict::NotLatin1;
    if (password.size() > MaxPasswordLength)
        return Verdict::TooLong;
    return Verdict::Ok;
}

QString nameRefusal(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Ok:
        break;
    case Verdict::Empty:
        return QCoreApplication::translate("AccountRules", "用户名不能为空！");
    case Verdict::TooLong:
        return QCoreApplication::translate("AccountRules", "用户名太长：最多99个字节！");
    case Verdict::NotLatin1:
    case Verdict::NotPrintable:
        return QCoreApplication::translate("AccountRules", "用户名不能包含控制字符或不可见字符，首尾不能有空白！");
    }
    return QString();
}

QString passwordRefusal(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Ok:
        break;
    case Verdict::Empty:
        return QCoreApplication::translate("AccountRules", "密码不能为空！");
    case Verdict::TooLong:
        return QCoreApplication::translate("AccountRules", "密码太长：最多48个字符！");
    case Verdict::NotLatin1:
    case Verdict::NotPrintable:
        return QCoreApplication::translate("AccountRules", "密码只能包含西文字母、数字和符号（Latin-1字符）！");
    }
    return QString();
}

} // namespace AccountRules
