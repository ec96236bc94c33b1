#pragma once

#include <QString>

// Single DES (FIPS 46) in ECB mode, as used for the stored password texts.
// The working context is large (one byte per bit); build one per call and let it go.
class DesCipher
{
public:
    // Longest plain text accepted, in bytes. Longer texts are refused with an empty result:
    // a silently shortened password would collide with every text sharing its prefix.
    static constexpr int MaxTextBytes = 4096;

    // Upper-case hexadecimal cipher text of text (Latin-1, up to its first NUL) under the first
    // eight Latin-1 bytes of key (zero-padded). Empty for an empty or over-long text.
    QString encryptToHex(const QString& text, const QString& key);
    // The plain text of hexadecimal cipher text (either case, whole blocks, at most MaxTextBytes)
    // under key as above, with the zero bytes that padded the last block stripped. Empty for
    // anything else.
    QByteArray decryptHex(const QString& hex, const QString& key);

private:
    void setKey(const QString& keyText);
    void processBlock(const unsigned char* block, bool decrypting = false);
    void roundFunction(const unsigned char* roundKey);
    void initialPermutation(const unsigned char* blockBits);
    static void bytesToBits(const unsigned char* bytes, int count, unsigned char* bits);
    void bitsToHex(int bitCount);

    // Round keys of the encryption schedule, one byte per bit.
    unsigned char roundKeys[16][48] = {};
    // Round state, one byte per bit.
    unsigned char left[32] = {};
    unsigned char right[32] = {};
    unsigned char expanded[48] = {};
    unsigned char sboxOutput[32] = {};
    unsigned char blockOutput[8] = {};
    // Cipher text in block order, then a NUL.
    unsigned char cipherText[MaxTextBytes + 1] = {};
    unsigned char key[8] = {};
    unsigned char data[2 * MaxTextBytes] = {};
    unsigned char bitBuffer[8 * MaxTextBytes] = {};
    char hexBuffer[2 * MaxTextBytes + 1] = {};
};

// Upper-case hexadecimal DES-ECB cipher text of text under key (see DesCipher).
QString desEncrypt(const QString& text, const QString& key);
// The plain text that desEncrypt turned into hex under key (see DesCipher::decryptHex).
QByteArray desDecrypt(const QString& hex, const QString& key);
