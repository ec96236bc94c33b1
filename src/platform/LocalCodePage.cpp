#include "platform/LocalCodePage.h"

#include <QTextCodec>

namespace LocalCodePage {

namespace {
QTextCodec* deviceCodec()
{
    // Qt keeps its codecs for the life of the process.
    static QTextCodec* const codec = QTextCodec::codecForName("GB2312");
    return codec;
}

// The filled cells of GB2312's symbol rows A1-A9 (rows AA-AF are empty); rows B0-F7 hold the
// hanzi and are full but for the end of row D7.
struct Cells
{
    uchar lead;
    uchar first;
    uchar last;
};
constexpr Cells kSymbolCells[] = {
    {0xA1, 0xA1, 0xFE}, {0xA2, 0xB1, 0xE2}, {0xA2, 0xE5, 0xEE}, {0xA2, 0xF1, 0xFC},
    {0xA3, 0xA1, 0xFE}, {0xA4, 0xA1, 0xF3}, {0xA5, 0xA1, 0xF6}, {0xA6, 0xA1, 0xB8},
    {0xA6, 0xC1, 0xD8}, {0xA7, 0xA1, 0xC1}, {0xA7, 0xD1, 0xF1}, {0xA8, 0xA1, 0xBA},
    {0xA8, 0xC5, 0xE9}, {0xA9, 0xA4, 0xEF},
};

bool isGb2312Cell(uchar lead, uchar trail)
{
    if (trail < 0xA1 || trail > 0xFE)
        return false;
    if (lead >= 0xB0 && lead <= 0xF7)
        return lead != 0xD7 || trail <= 0xF9;
    for (const Cells& row : kSymbolCells) {
        if (row.lead == lead && trail >= row.first && trail <= row.last)
            return true;
    }
    return false;
}

bool isCarried(const QString& character)
{
    if (character.size() == 1 && character.at(0).unicode() < 0x80)
        return true;
    QTextCodec* codec = deviceCodec();
    if (!codec)
        return false;
    const QByteArray bytes = codec->fromUnicode(character);
    return bytes.size() == 2 && isGb2312Cell(uchar(bytes.at(0)), uchar(bytes.at(1)))
           && codec->toUnicode(bytes) == character;
}
} // namespace

QByteArray encode(const QString& text)
{
    QTextCodec* codec = deviceCodec();
    return codec ? codec->fromUnicode(text) : text.toLocal8Bit();
}

QString decode(const QByteArray& bytes)
{
    QTextCodec* codec = deviceCodec();
    return codec ? codec->toUnicode(bytes) : QString::fromLocal8Bit(bytes);
}

QStringList unencodable(const QString& text)
{
    QStringList missing;
    for (int i = 0; i < text.size();) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        i += character.size();
        if (!isCarried(character) && !missing.contains(character))
            missing << character;
    }
    return missing;
}

bool isEncodable(const QString& text)
{
    return unencodable(text).isEmpty();
}

} // namespace LocalCodePage
