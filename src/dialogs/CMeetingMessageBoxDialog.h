#pragma once

#include "dialogs/CMeetingBaseDialog.h"

#include "framework/FMessageBoxParts.h"

class QLabel;

// The application's information (kind 0), question (1) and error (2) box. It deletes itself
// when closed; showQuestion() returns 1 only when OK was pressed.
class CMeetingMessageBoxDialog : public CMeetingBaseDialog
{
    Q_OBJECT
public:
    explicit CMeetingMessageBoxDialog(QWidget *parent = nullptr);

    void setMessage(const QString &title, const QString &text, int kind);

    static void showError(const QString &text);
    static void showInformation(const QString &text);
    static int showQuestion(const QString &text);

    FBasePushButton *getOkButton() const { return parts.okButton; }
    FBasePushButton *getCancelButton() const { return parts.cancelButton; }
    QLabel *getIconLabel() const { return parts.iconLabel; }
    QLabel *getTextLabel() const { return parts.textLabel; }

public slots:
    void OnOk();

private:
    static int run(const QString &text, int kind);

    FMessageBoxParts parts;
};
