#include "core/PasswordChange.h"

#include "core/AccountRules.h"
#include "core/CUserManage.h"
#include "core/PasswordKey.h"

#include <QCoreApplication>

PasswordChange::PasswordChange(CUserManage* userStore)
    : store(userStore ? userStore : CUserManage::instance())
{
}

PasswordChange::Result PasswordChange::change(qint64 userId, const QString& newPassword,
                                              const std::optional<QString>& oldPassword)
{
    const QString password = newPassword.trimmed();
    if (password.isEmpty() || (oldPassword && oldPassword->trimmed().isEmpty()))
        return Result::EmptyPassword;
    User_Info user = store->getUserById(userId);
    if (user.Id < 0)
        return Result::NoSuchUser;
    // The old password is checked as it always was, so accounts made with any text still work.
    if (oldPassword && passwordTransform(user.userName(), oldPassword->trimmed()) != user.passWord())
        return Result::WrongOldPassword;
    switch (AccountRules::checkNewPassword(password)) {
    case AccountRules::Verdict::TooLong:
        return Result::PasswordTooLong;
    case AccountRules::Verdict::NotLatin1:
        return Result::PasswordNotLatin1;
    default:
        break;
    }
    const QString hash = passwordTransform(user.userName(), password);
    user.setPassWord(hash);
    if (!store->edit(user, true))
        return Result::StoreRefused;
    transform = hash;
    return Result::Changed;
}

QString PasswordChange::message(Result result)
{
    switch (result) {
    case Result::Changed:
        return QCoreApplication::translate("PasswordChange", "修改密码成功！");
    case Result::EmptyPassword:
        return AccountRules::passwordRefusal(AccountRules::Verdict::Empty);
    case Result::NoSuchUser:
        return QCoreApplication::translate("PasswordChange", "获取用户信息失败！");
    case Result::WrongOldPassword:
        return QCoreApplication::translate("PasswordChange", "旧密码错误！");
    case Result::PasswordTooLong:
        return AccountRules::passwordRefusal(AccountRules::Verdict::TooLong);
    case Result::PasswordNotLatin1:
        return AccountRules::passwordRefusal(AccountRules::Verdict::NotLatin1);
    case Result::StoreRefused:
        return QCoreApplication::translate("PasswordChange", "修改密码失败！");
    }
    return QString();
}
