#pragma once

#include "framework/FFramelessDialog.h"

// The application's frameless dialog: a 48 px title bar showing only the close button, centred
// on the screen at presetSize when shown, fades out on close. Escape does nothing, so a
// dialog closes only through its own buttons.
class CMeetingBaseDialog : public FFramelessDialog
{
    Q_OBJECT
public:
    explicit CMeetingBaseDialog(QWidget *parent = nullptr);

public slots:
    void animationClose() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
};
