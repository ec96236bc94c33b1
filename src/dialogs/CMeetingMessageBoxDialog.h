#pragma once

#include "dialogs/CMeetingBaseDialog.h"

#include "framework/FMessageBoxParts.h"

#include <functional>

class QLabel;

// The application's information (kind 0), question (1) and error (2) box. It deletes itself
// when closed; showQuestion() returns 1 only when OK was pressed. Once the console is leaving no
// box opens (see execMessageBox).
class CMeetingMessageBoxDialog : public CMeetingBaseDialog
{
    Q_OBJECT
public:
    explicit CMeetingMessageBoxDialog(QWidget *parent = nullptr);

    void setMessage(const QString &title, const QString &text, int kind);

    static void showError(const QString &text);
    static void showInformation(const QString &text);
    // accepted runs when OK is clicked, before the box returns: a wait that started while the
    // box was open runs beneath its return and would hold the answer back until it ends.
    static int showQuestion(const QString &text, std::function<void()> accepted = {});

    FBasePushButton *getOkButton() const { return parts.okButton; }
    FBasePushButton *getCancelButton() const { return parts.cancelButton; }
    QLabel *getIconLabel() const { return parts.iconLabel; }
    QLabel *getTextLabel() const { return parts.textLabel; }

public slots:
    void OnOk();

private:
    static int run(const QString &text, int kind, std::function<void()> accepted = {});

    FMessageBoxParts parts;
    std::function<void()> onAccepted;
};
