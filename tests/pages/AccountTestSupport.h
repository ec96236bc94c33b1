#pragma once

// Accounts and message boxes for the tests of the pages that use the user store.

#include "core/CUserManage.h"
#include "core/GlobalState.h"
#include "core/PasswordKey.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/FBasePushButton.h"

#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace AccountTest {

// Adds an account to the process-wide store (and its file); returns its Id, -1 when refused.
inline qint64 addUser(const QString& name, const QString& password, int group,
                      const QMap<int, bool>& inputRights = {}, const QMap<int, bool>& outputRights = {})
{
    static qint64 nextId = 1000;
    User_Info user;
    user.Id = nextId++;
    user.Group = group;
    user.setUserName(name);
    user.setPassWord(passwordTransform(name, password));
    user.inputRights = inputRights;
    user.outputRights = outputRights;
    return CUserManage::instance()->add(user) ? user.Id : -1;
}

// Logs the account in as far as the pages are concerned.
inline void becomeUser(qint64 id)
{
    const User_Info user = CUserManage::instance()->getUserById(id);
    g_currentUserId = id;
    g_isAdministrator = user.Group == 0 ? 1 : 0;
    g_userName = user.userName();
    g_userPassword = user.passWord();
}

// Runs action, answering every message box it opens with OK; returns their texts in order.
inline QStringList boxesOf(const std::function<void()>& action)
{
    QStringList texts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&texts] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<CMeetingMessageBoxDialog*>(w);
            if (box && box->isVisible() && !box->property("answered").toBool()) {
                box->setProperty("answered", true);
                texts << box->getTextLabel()->text();
                box->getOkButton()->click();
            }
        }
    });
    poll.start(10);
    action();
    return texts;
}

} // namespace AccountTest
