#pragma once

#include "framework/FBaseDialog.h"

#include "framework/FMessageBoxParts.h"

class QLabel;

// Information (kind 0), question (1) or error (2) box of the window framework. It deletes
// itself when closed; exec() gives 1 only after OK.
class FMessageBoxDialog : public FBaseDialog
{
    Q_OBJECT
public:
    explicit FMessageBoxDialog(QWidget *parent = nullptr);

    void setMessage(const QString &title, const QString &text, int kind);

    FBasePushButton *getOkButton() const { return parts.okButton; }
    FBasePushButton *getCancelButton() const { return parts.cancelButton; }
    QLabel *getIconLabel() const { return parts.iconLabel; }
    QLabel *getTextLabel() const { return parts.textLabel; }

public slots:
    void OnOk();

private:
    FMessageBoxParts parts;
};
