#include "core/UserInfo.h"

#include "platform/TextHelpers.h"

#include <cstring>

namespace {

QString fromBuffer(const char* buffer)
{
    return QString::fromUtf8(buffer, int(qstrnlen(buffer, User_Info::TextSize)));
}

} // namespace

QString User_Info::userName() const { return fromBuffer(UserName); }
QString User_Info::passWord() const { return fromBuffer(PassWord); }
QString User_Info::description() const { return fromBuffer(Description); }

void User_Info::setUserName(const QString& text) { copyToCharArray(UserName, text, TextSize); }
void User_Info::setPassWord(const QString& text) { copyToCharArray(PassWord, text, TextSize); }
void User_Info::setDescription(const QString& text) { copyToCharArray(Description, text, TextSize); }
