#pragma once

#include "framework/FBaseDialog.h"

class FBasePushButton;
class QLabel;
class QLineEdit;

// One line of text. getText() is trimmed; OK stays disabled while only blanks are typed.
// exec() gives 1 after OK and 0 after Cancel, the close button or Escape.
class FInputDialog : public FBaseDialog
{
    Q_OBJECT
public:
    explicit FInputDialog(QWidget *parent = nullptr);

    void setLabelText(const QString &text);
    void setText(const QString &text);
    QString getText() const;

    FBasePushButton *getOkButton() const { return okButton; }
    FBasePushButton *getCancelButton() const { return cancelButton; }
    QLineEdit *getLineEdit() const { return lineEdit; }

public slots:
    void textChanged(const QString &text);
    void animationClose() override;
    void onOkButtonClicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    FBasePushButton *okButton;
    FBasePushButton *cancelButton;
    bool accepted = false;
    QLabel *label;
    QLineEdit *lineEdit;
};
