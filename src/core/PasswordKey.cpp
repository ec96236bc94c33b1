#include "core/PasswordKey.h"

#include "platform/DesCipher.h"

namespace {
// Fixed part of every password key. The shipped user database was made with it.
const QString keySuffix = QStringLiteral("5823");
}

QString passwordKey(const QString& userName)
{
    return userName + keySuffix;
}

QString passwordTransform(const QString& userName, const QString& password)
{
    return desEncrypt(password, passwordKey(userName));
}

QString passwordOfTransform(const QString& userName, const QString& transform)
{
    const QByteArray plain = desDecrypt(transform, passwordKey(userName));
    return QString::fromLatin1(plain.constData(), plain.size());
}
