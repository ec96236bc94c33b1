#pragma once

#include "framework/FWindowDrag.h"

#include <QDialog>
#include <QSize>

class FTitleBar;
class QVBoxLayout;

// Frameless dialog of the window framework: own title bar with logo, title and close button,
// centred on the screen at presetSize when shown, folds shut on close or Escape.
class FBaseDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FBaseDialog(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    FTitleBar *getTitleBar() const { return titleBar; }
    QSize getPresetSize() const { return presetSize; }

signals:
    void Hidden();

public slots:
    virtual void animationClose();
    virtual void swithMaxNormal();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

    // Derived dialogs add their content below the title bar.
    QVBoxLayout *contentLayout() const { return mainLayout; }

    FWindowDrag drag;
    FTitleBar *titleBar;
    QSize presetSize;

private:
    QVBoxLayout *mainLayout;
};
