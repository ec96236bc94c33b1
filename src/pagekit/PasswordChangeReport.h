#pragma once

#include "core/PasswordChange.h"

// Tells the operator how a password change ended: the information box on success, else the
// error box with the reason.
void reportPasswordChange(PasswordChange::Result result);

// The logged-in user's own password (the old one checked when given): on success the login's
// remembered transform follows the new password. Reports the result either way.
bool changeOwnPassword(const QString& newPassword, const std::optional<QString>& oldPassword = std::nullopt);
