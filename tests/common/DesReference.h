#pragma once

// An independent DES-ECB for checking the password transform: libcrypto's single DES over the
// same key handling (first eight bytes, zero-padded) and block padding (zeros) as DesCipher.

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include <QByteArray>
#include <QString>

#include <cstring>

inline QString desReferenceHex(const QByteArray& text, const QByteArray& key)
{
    DES_cblock keyBlock = {};
    std::memcpy(keyBlock, key.constData(), size_t(qMin(key.size(), 8)));
    DES_key_schedule schedule;
    DES_set_key_unchecked(&keyBlock, &schedule);
    QByteArray cipher;
    for (int offset = 0; offset < text.size(); offset += 8) {
        DES_cblock in = {};
        DES_cblock out = {};
        std::memcpy(in, text.constData() + offset, size_t(qMin(8, text.size() - offset)));
        DES_ecb_encrypt(&in, &out, &schedule, DES_ENCRYPT);
        cipher.append(reinterpret_cast<const char*>(out), 8);
    }
    return QString::fromLatin1(cipher.toHex().toUpper());
}
