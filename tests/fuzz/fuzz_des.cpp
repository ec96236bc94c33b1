// The password transform against libcrypto's DES-ECB for any key and text, and back: the first byte gives
// the key's length (0 to 16), the key follows, the rest is the text.
#include "FuzzSupport.h"

#include "DesReference.h"
#include "platform/DesCipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input = FuzzSupport::bytes(data, size);
    const int keyLength = qMin(int(quint8(input.at(0)) % 17), input.size() - 1);
    const QByteArray key = input.mid(1, keyLength);
    const QByteArray text = input.mid(1 + keyLength);

    const QString actual = desEncrypt(QString::fromLatin1(text.constData(), text.size()),
                                      QString::fromLatin1(key.constData(), key.size()));
    // The text ends at its first NUL; an empty or over-long one gives no cipher text.
    const QByteArray plain = text.left(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0'));
    const QString expected = plain.isEmpty() || plain.size() > DesCipher::MaxTextBytes
                                 ? QString()
                                 : desReferenceHex(plain, key);
    FuzzSupport::require(actual == expected, "cipher text differs from libcrypto's");
    const QByteArray decrypted = desDecrypt(expected, QString::fromLatin1(key.constData(), key.size()));
    FuzzSupport::require(decrypted == (expected.isEmpty() ? QByteArray() : plain),
                         "libcrypto's cipher text does not decrypt to the text");
    return 0;
}
