#pragma once

#include "framework/FFramelessDialog.h"

// Frameless dialog of the window framework: own title bar with logo, title and close button,
// centred on the screen at presetSize when shown, folds shut on close or Escape.
class FBaseDialog : public FFramelessDialog
{
    Q_OBJECT
public:
    explicit FBaseDialog(QWidget *parent = nullptr);

public slots:
    void animationClose() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
};
