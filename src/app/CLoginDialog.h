#pragma once

#include "dialogs/CMeetingBaseDialog.h"

class FBasePushButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The gate of the program: checks an operator against the user store, remembers the last user
// and the connection settings, connects to the matrix, fetches its card lists, versions and lock
// state, and ends with the card-type dialog. exec() returns Accepted only after a full login.
class CLoginDialog : public CMeetingBaseDialog
{
    Q_OBJECT
public:
    explicit CLoginDialog(QWidget* parent = nullptr);
    ~CLoginDialog() override;

    // 0 no such user, 1 accepted, 2 wrong password. name is looked up as typed
    // (CUserManage::findForLogin); the password is checked against the user's stored name, which
    // becomes g_userName. The stored transform itself is accepted as the password only when
    // storedForm is set: the remembered login, never a typed text.
    int checkUser(QString name, QString password, bool storedForm = false);
    void getDeviceInfo();
    void readSettings();
    void writeSettings();

    bool isLoggedIn() const { return loggedIn; }
    QLineEdit* getUserEdit() const { return userEdit; }
    QLineEdit* getPasswordEdit() const { return passwordEdit; }
    QComboBox* getModelCombo() const { return modelCombo; }
    QCheckBox* getRememberBox() const { return rememberBox; }
    FBasePushButton* getOkButton() const { return okButton; }
    FBasePushButton* getCancelButton() const { return cancelButton; }
    FBasePushButton* getConSetButton() const { return conSetButton; }
    QLabel* getStatusLabel() const { return statusLabel; }

public slots:
    void initConfig();
    void animationClose() override;
    void onOkButtonClicked();
    void onConSetButtonClicked();
    void displayMessage(QString str);
    void clientConnected();
    void clientConnectTimeout();
    void selectCardType();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void initUI();
    void endBusy();
    // The password field still holds, untouched, what readSettings() filled in for the remembered
    // user.
    bool isRememberedLogin(const QString& name) const;

    QLabel* titleLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLineEdit* userEdit = nullptr;
    QLineEdit* passwordEdit = nullptr;
    QComboBox* modelCombo = nullptr;
    QCheckBox* rememberBox = nullptr;
    FBasePushButton* okButton = nullptr;
    FBasePushButton* cancelButton = nullptr;
    FBasePushButton* conSetButton = nullptr;
    QLabel* statusLabel = nullptr;
    bool loggedIn = false;
    // Between OK and the link's answer; the link's signals mean nothing to the dialog otherwise.
    bool connecting = false;
    // While OK is being handled (its status texts process events).
    bool verifying = false;
    bool cursorOverridden = false;
    // What readSettings() put into the two fields for a remembered login; cleared once the
    // operator types a password.
    QString rememberedUser;
    QString rememberedPassword;
};
