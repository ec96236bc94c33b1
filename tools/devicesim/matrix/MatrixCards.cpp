#include "MatrixCards.h"

#include <cstring>

namespace {

constexpr quint32 kLoopback = 0x7F000000u;
constexpr quint32 kFirstIpHost = 11;
constexpr quint32 kFirstPreviewHost = 101;

// Input cards after slot 0 (HDMI) and slot 1 (IP): a mix of every other kind.
const char kInMix[] = "icjkzlm13bdv0";
// Output cards between slot 0 (HDMI) and the last slot (preview).
const char kOutMix[] = "ickjzlm13bdv0";

QString normalised(const QString& letters, int slotCount)
{
    QString result = letters.left(slotCount);
    while (result.size() < slotCount)
        result.append(QLatin1Char(MatrixCards::EmptySlotLetter));
    return result;
}

// Whether the card of this letter has an EDID at a 1-based port.
bool letterHasEdid(char letter, int port)
{
    const int position = (port - 1) % 4;
    if (letter == 'i' || letter == 'k')
        return position < 2;   // the HDMI half of a mixed card
    if (letter == '3' || letter == 'v')
        return port % 2 == 0;   // 4K HDBT: ports 2 and 4 of the card
    return letter != 0 && std::strchr("ablz0", letter) != nullptr;
}

char letterOfPort(const QString& letters, int port)
{
    if (port < 1 || (port - 1) / 4 >= letters.size())
        return 0;
    return letters.at((port - 1) / 4).toLatin1();
}

} // namespace

MatrixCards::MatrixCards(int model, const QString& inLetters, const QString& outLetters,
                         const QHostAddress& firstIp)
{
    const int slotCount = model / 4;
    in = inLetters.isEmpty() ? defaultInLetters(slotCount) : normalised(inLetters, slotCount);
    out = outLetters.isEmpty() ? defaultOutLetters(slotCount) : normalised(outLetters, slotCount);

    quint32 ip = firstIp.isNull() ? kLoopback + kFirstIpHost : firstIp.toIPv4Address();
    for (QChar c : qAsConst(in)) {
        if (c == QLatin1Char(IpInputLetter)) {
            ipProcessors.append(QHostAddress(ip++));
            ipProcessors.append(QHostAddress(ip++));
        }
    }
    quint32 host = kFirstPreviewHost;
    for (QChar c : qAsConst(out)) {
        if (c == QLatin1Char(PreviewOutputLetter))
            previews.append(QHostAddress(kLoopback + host++));
    }
}

QString MatrixCards::defaultInLetters(int slotCount)
{
    QString letters;
    for (int i = 0; i < slotCount; ++i) {
        if (i == 0)
            letters += QLatin1Char('a');
        else if (i == 1)
            letters += QLatin1Char(IpInputLetter);
        else
            letters += QLatin1Char(kInMix[(i - 2) % (sizeof(kInMix) - 1)]);
    }
    return letters;
}

QString MatrixCards::defaultOutLetters(int slotCount)
{
    QString letters;
    for (int i = 0; i < slotCount; ++i) {
        if (i == 0)
            letters += QLatin1Char('a');
        else if (i == slotCount - 1)
            letters += QLatin1Char(PreviewOutputLetter);
        else
            letters += QLatin1Char(kOutMix[(i - 1) % (sizeof(kOutMix) - 1)]);
    }
    return letters;
}

char MatrixCards::inLetterOfPort(int port) const
{
    return letterOfPort(in, port);
}

char MatrixCards::outLetterOfPort(int port) const
{
    return letterOfPort(out, port);
}

// Letters of the card-type table; "f" exists only as an input card, "e" only as an output card,
// and anything else ("*" included) is an empty slot.
bool MatrixCards::hasInputCard(int port) const
{
    const char c = inLetterOfPort(port);
    return c != 0 && std::strchr("abcdijklmz013vf", c) != nullptr;
}

bool MatrixCards::hasOutputCard(int port) const
{
    const char c = outLetterOfPort(port);
    return c != 0 && std::strchr("abcdijklmz013ve", c) != nullptr;
}

int MatrixCards::ipIndex(int slot) const
{
    if (slot < 1 || slot > in.size() || in.at(slot - 1) != QLatin1Char(IpInputLetter))
        return -1;
    return 2 * int(in.left(slot - 1).count(QLatin1Char(IpInputLetter)));
}

int MatrixCards::previewIndex(int slot) const
{
    if (slot < 1 || slot > out.size() || out.at(slot - 1) != QLatin1Char(PreviewOutputLetter))
        return -1;
    return int(out.left(slot - 1).count(QLatin1Char(PreviewOutputLetter)));
}

QHostAddress MatrixCards::ipAddress(int slot, int processor) const
{
    const int i = ipIndex(slot);
    return i < 0 || processor < 0 || processor > 1 ? QHostAddress() : ipProcessors.at(i + processor);
}

QHostAddress MatrixCards::previewAddress(int slot) const
{
    const int i = previewIndex(slot);
    return i < 0 ? QHostAddress() : previews.at(i);
}

bool MatrixCards::setIpAddress(int slot, int processor, const QHostAddress& address)
{
    const int i = ipIndex(slot);
    if (i < 0 || processor < 0 || processor > 1)
        return false;
    ipProcessors[i + processor] = address;
    return true;
}

bool MatrixCards::setIpAddressAt(int index, const QHostAddress& address)
{
    if (index < 0 || index >= ipProcessors.size())
        return false;
    ipProcessors[index] = address;
    return true;
}

bool MatrixCards::setPreviewAddress(int slot, const QHostAddress& address)
{
    const int i = previewIndex(slot);
    if (i < 0)
        return false;
    previews[i] = address;
    return true;
}

bool MatrixCards::inputHas(int port, Feature feature) const
{
    const char c = inLetterOfPort(port);
    switch (feature) {
    case Feature::Audio:
        return c != '1';
    case Feature::PictureLevels:
        return c != 'c' && !(c == 'i' && (port - 1) % 4 >= 2);
    case Feature::Edid:
        return letterHasEdid(c, port);
    case Feature::Steps:
        break;
    }
    return false;
}

bool MatrixCards::outputHas(int port, Feature feature) const
{
    const char c = outLetterOfPort(port);
    switch (feature) {
    case Feature::Steps:
        return c != 0 && std::strchr("cz013v", c) == nullptr && !(c == 'i' && (port - 1) % 4 >= 2);
    case Feature::Edid:
        return letterHasEdid(c, port);
    case Feature::Audio:
    case Feature::PictureLevels:
        break;
    }
    return false;
}
