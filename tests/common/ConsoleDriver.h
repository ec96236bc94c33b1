#pragma once

// Drives the console in-process the way an operator does: the login dialog (OK pressed, the
// card types confirmed), then the main window until its start-up sequence has finished.
// Used by the end-to-end tests and the start-up benchmark. Needs the application library.

#include "app/CLoginDialog.h"
#include "app/CSelectCardTypeDialog.h"
#include "app/CenterWindow.h"
#include "framework/FBasePushButton.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>

namespace ConsoleDriver {

// Presses OK on the card-type dialog as soon as it shows.
inline void confirmCardTypesWhenShown()
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll]() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* types = qobject_cast<CSelectCardTypeDialog*>(w); types && types->isVisible()) {
                poll->deleteLater();
                poll->stop();
                types->getOkButton()->click();
                return;
            }
        }
    });
    poll->start(5);
}

// Logs in with the dialog's stored settings; true when the dialog ended accepted.
inline bool login(const QString& password, QElapsedTimer* sinceOk = nullptr)
{
    auto dialog = std::make_unique<CLoginDialog>(nullptr);
    dialog->getPasswordEdit()->setText(password);
    confirmCardTypesWhenShown();
    QTimer::singleShot(0, dialog.get(), [&dialog, sinceOk]() {
        if (sinceOk)
            sinceOk->start();
        dialog->getOkButton()->click();
    });
    return dialog->exec() == QDialog::Accepted; // destroyed before the main window exists
}

// Shows the main window and waits for its start-up sequence; null on time-out.
inline MainWindow* openMainWindow(int timeoutMs = 60000)
{
    MainWindow* window = MainWindow::instance();
    window->show();
    CenterWindow* center = window->centerWindow();
    if (!QTest::qWaitFor([center]() { return center->isStartupFinished(); }, timeoutMs))
        return nullptr;
    return window;
}

} // namespace ConsoleDriver
