#pragma once

#include "dialogs/CMeetingBaseDialog.h"

class FBasePushButton;

// Dialog of the login with OK and Cancel: drops in from the top when shown and fades out over
// 400 ms when closed; exec() returns Accepted only when it was closed through OK.
class CConfirmDialog : public CMeetingBaseDialog
{
    Q_OBJECT
public:
    explicit CConfirmDialog(QWidget* parent = nullptr);

    FBasePushButton* getOkButton() const { return okButton; }
    FBasePushButton* getCancelButton() const { return cancelButton; }

public slots:
    void animationClose() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    FBasePushButton* okButton;
    FBasePushButton* cancelButton;
    bool accepted = false;
};
