#pragma once

#include "framework/FBaseDialog.h"

class FBasePushButton;
class QLabel;

// Information (kind 0), question (1) or error (2) box of the window framework. It deletes
// itself when closed; exec() gives 1 only after OK.
class FMessageBoxDialog : public FBaseDialog
{
    Q_OBJECT
public:
    explicit FMessageBoxDialog(QWidget *parent = nullptr);

    void setMessage(const QString &title, const QString &text, int kind);

    FBasePushButton *getOkButton() const { return okButton; }
    FBasePushButton *getCancelButton() const { return cancelButton; }
    QLabel *getIconLabel() const { return iconLabel; }
    QLabel *getTextLabel() const { return textLabel; }

public slots:
    void OnOk();

private:
    FBasePushButton *okButton;
    FBasePushButton *cancelButton;
    QLabel *iconLabel;
    QLabel *textLabel;
};
