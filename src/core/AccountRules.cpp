#include "core/AccountRules.h"

#include <QCoreApplication>

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

// Control characters (C0, DEL, C1; all in the first plane), and lone surrogates, which UTF-8
// cannot carry: the text would not come back from its field as itself.
bool hasControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return QString::fromUtf8(text.toUtf8()) != text;
}

} // namespace

Verdict checkNewName(const QString& name)
{
    if (name.isEmpty())
        return Verdict::Empty;
    if (hasControlCharacter(name) || name.trimmed() != name)
        return Verdict::NotPrintable;
    if (name.toUtf8().size() > MaxNameBytes)
        return Verdict::TooLong;
    return Verdict::Ok;
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
        return QCoreApplication::translate("AccountRules", "用户名不能包含控制字符，首尾不能有空白！");
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
