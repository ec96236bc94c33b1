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

// Characters a name cannot be told by: controls (C0, DEL, C1), format characters (zero-width
// space, soft hyphen, direction marks), line and paragraph separators, noncharacters and code
// points not yet assigned. "Admin" followed by a zero-width space looks like "Admin" and is not
// found when "Admin" is typed. Lone surrogates, which UTF-8 cannot carry, would not come back
// from the store as themselves.
bool hasUnprintableCharacter(const QString& text)
{
    for (const uint codePoint : text.toUcs4()) {
        switch (QChar::category(codePoint)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_NotAssigned:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            if (QChar::isNonCharacter(codePoint))
                return true;
        }
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
