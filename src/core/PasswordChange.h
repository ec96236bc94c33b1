#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

class CUserManage;

// The one routine behind every password change: a user's own (the old password checked first),
// an administrator setting another user's, and the administrator's own. The new transform is
// stored in data/UserConfig.dat at once; a refused or failed write changes nothing.
class PasswordChange
{
public:
    enum class Result {
        Changed,
        EmptyPassword,
        NoSuchUser,
        WrongOldPassword,
        PasswordTooLong,
        PasswordNotLatin1,
        StoreRefused,
    };

    explicit PasswordChange(CUserManage* store = nullptr);   // null: the process-wide store

    // Both texts are trimmed. The key of the transform is the stored user's own name.
    Result change(qint64 userId, const QString& newPassword,
                  const std::optional<QString>& oldPassword = std::nullopt);

    // The stored transform after a change that returned Changed.
    QString newTransform() const { return transform; }

    // What the operator is told.
    static QString message(Result result);

private:
    CUserManage* store;
    QString transform;
};
