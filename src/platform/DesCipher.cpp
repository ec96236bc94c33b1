#include "platform/DesCipher.h"

#include <QByteArray>
#include <QRegularExpression>

#include <cstring>
#include <memory>

namespace {

// Tables of FIPS 46; entries count bits from 1 = most significant bit of the first byte.
const unsigned char kInitialPermutation[64] = {
    58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
    62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
    57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
    61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

const unsigned char kFinalPermutation[64] = {
    40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
    38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
    36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
    34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

const unsigned char kExpansion[48] = {
    32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
    12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
    22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

const unsigned char kPermutation[32] = {
    16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
    2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

const unsigned char kPermutedChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
    10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
    14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

const unsigned char kPermutedChoice2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
    23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
    44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

const unsigned char kRotations[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

const unsigned char kSBoxes[8][4][16] = {
    {{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
     {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
     {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
     {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
    {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
     {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
     {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
     {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
    {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
     {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
     {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
     {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
    {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
     {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
     {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
     {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
    {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
     {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
     {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
     {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
    {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
     {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
     {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
     {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
    {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
     {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
     {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
     {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
    {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
     {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
     {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
     {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}};

void permute(const unsigned char* in, unsigned char* out, const unsigned char* table, int count)
{
    for (int i = 0; i < count; ++i)
        out[i] = in[table[i] - 1];
}

void rotateLeft(unsigned char* half, int by)
{
    unsigned char copy[28];
    std::memcpy(copy, half, 28);
    for (int i = 0; i < 28; ++i)
        half[i] = copy[(i + by) % 28];
}

} // namespace

QString DesCipher::encryptToHex(const QString& text, const QString& keyText)
{
    // The plain text ends at its first NUL, as a C string would.
    const QByteArray textBytes = text.toLatin1();
    const int length = int(qstrnlen(textBytes.constData(), uint(textBytes.size())));
    if (length == 0 || length > MaxTextBytes)
        return QString();
    std::memcpy(data, textBytes.constData(), size_t(length));

    setKey(keyText);
    const int blocks = (length + 7) / 8;
    for (int b = 0; b < blocks; ++b) {
        processBlock(data + 8 * b);
        std::memcpy(cipherText + 8 * b, blockOutput, 8);
    }
    bytesToBits(cipherText, 8 * blocks, bitBuffer);
    bitsToHex(64 * blocks);
    return QString::fromLatin1(hexBuffer);
}

QByteArray DesCipher::decryptHex(const QString& hex, const QString& keyText)
{
    static const QRegularExpression wholeBlocks(QStringLiteral("\\A(?:[0-9A-Fa-f]{16})+\\z"));
    if (hex.size() > 2 * MaxTextBytes || !wholeBlocks.match(hex).hasMatch())
        return QByteArray();
    const QByteArray cipher = QByteArray::fromHex(hex.toLatin1());
    std::memcpy(data, cipher.constData(), size_t(cipher.size()));

    setKey(keyText);
    QByteArray plain;
    for (int offset = 0; offset < cipher.size(); offset += 8) {
        processBlock(data + offset, true);
        plain.append(reinterpret_cast<const char*>(blockOutput), 8);
    }
    while (plain.endsWith('\0'))
        plain.chop(1);
    return plain;
}

void DesCipher::setKey(const QString& keyText)
{
    const QByteArray keyBytes = keyText.toLatin1();
    std::memcpy(key, keyBytes.constData(), size_t(qMin(keyBytes.size(), 8)));
    unsigned char keyBits[64];
    bytesToBits(key, 8, keyBits);
    unsigned char halves[56];
    permute(keyBits, halves, kPermutedChoice1, 56);
    for (int round = 0; round < 16; ++round) {
        rotateLeft(halves, kRotations[round]);
        rotateLeft(halves + 28, kRotations[round]);
        permute(halves, roundKeys[round], kPermutedChoice2, 48);
    }
}

void DesCipher::processBlock(const unsigned char* block, bool decrypting)
{
    unsigned char blockBits[64];
    bytesToBits(block, 8, blockBits);
    initialPermutation(blockBits);
    // Decryption is the same network with the round keys in reverse order.
    for (int round = 0; round < 16; ++round)
        roundFunction(roundKeys[decrypting ? 15 - round : round]);

    // The last round's swap is undone before the inverse permutation.
    unsigned char preOutput[64];
    std::memcpy(preOutput, right, 32);
    std::memcpy(preOutput + 32, left, 32);
    unsigned char outputBits[64];
    permute(preOutput, outputBits, kFinalPermutation, 64);
    for (int i = 0; i < 8; ++i) {
        unsigned char byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            byte = static_cast<unsigned char>((byte << 1) | outputBits[8 * i + bit]);
        blockOutput[i] = byte;
    }
}

void DesCipher::roundFunction(const unsigned char* roundKey)
{
    permute(right, expanded, kExpansion, 48);
    for (int i = 0; i < 48; ++i)
        expanded[i] ^= roundKey[i];

    for (int box = 0; box < 8; ++box) {
        const unsigned char* six = expanded + 6 * box;
        const int row = (six[0] << 1) | six[5];
        const int column = (six[1] << 3) | (six[2] << 2) | (six[3] << 1) | six[4];
        const unsigned char value = kSBoxes[box][row][column];
        for (int bit = 0; bit < 4; ++bit)
            sboxOutput[4 * box + bit] = (value >> (3 - bit)) & 1;
    }

    unsigned char f[32];
    permute(sboxOutput, f, kPermutation, 32);
    unsigned char newRight[32];
    for (int i = 0; i < 32; ++i)
        newRight[i] = left[i] ^ f[i];
    std::memcpy(left, right, 32);
    std::memcpy(right, newRight, 32);
}

void DesCipher::initialPermutation(const unsigned char* blockBits)
{
    unsigned char permuted[64];
    permute(blockBits, permuted, kInitialPermutation, 64);
    std::memcpy(left, permuted, 32);
    std::memcpy(right, permuted + 32, 32);
}

void DesCipher::bytesToBits(const unsigned char* bytes, int count, unsigned char* bits)
{
    for (int i = 0; i < count; ++i)
        for (int bit = 0; bit < 8; ++bit)
            bits[8 * i + bit] = (bytes[i] >> (7 - bit)) & 1;
}

void DesCipher::bitsToHex(int bitCount)
{
    static const char digits[] = "0123456789ABCDEF";
    const int nibbles = bitCount / 4;
    for (int i = 0; i < nibbles; ++i) {
        const unsigned char* b = bitBuffer + 4 * i;
        hexBuffer[i] = digits[(b[0] << 3) | (b[1] << 2) | (b[2] << 1) | b[3]];
    }
    hexBuffer[nibbles] = '\0';
}

QString desEncrypt(const QString& text, const QString& key)
{
    // Too large for the stack of every thread.
    const auto cipher = std::make_unique<DesCipher>();
    return cipher->encryptToHex(text, key);
}

QByteArray desDecrypt(const QString& hex, const QString& key)
{
    const auto cipher = std::make_unique<DesCipher>();
    return cipher->decryptHex(hex, key);
}
