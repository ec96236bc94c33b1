#include "pagekit/PasswordChangeReport.h"

#include "core/GlobalState.h"
#include "dialogs/CMeetingMessageBoxDialog.h"

void reportPasswordChange(PasswordChange::Result result)
{
    if (result == PasswordChange::Result::Changed)
        CMeetingMessageBoxDialog::showInformation(PasswordChange::message(result));
    else
        CMeetingMessageBoxDialog::showError(PasswordChange::message(result));
}

bool changeOwnPassword(const QString& newPassword, const std::optional<QString>& oldPassword)
{
    PasswordChange change;
    const PasswordChange::Result result = change.change(g_currentUserId, newPassword, oldPassword);
    if (result == PasswordChange::Result::Changed)
        g_userPassword = change.newTransform();
    reportPasswordChange(result);
    return result == PasswordChange::Result::Changed;
}
