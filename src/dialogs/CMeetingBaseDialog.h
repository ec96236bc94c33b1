#pragma once

#include "framework/FWindowDrag.h"

#include <QDialog>
#include <QSize>

class FTitleBar;
class QVBoxLayout;

// The application's frameless dialog: a 48 px title bar showing only the close button, centred
// on the screen at presetSize when shown, fades out on close. Escape does nothing, so a
// dialog closes only through its own buttons.
class CMeetingBaseDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CMeetingBaseDialog(QWidget *parent = nullptr);

    FTitleBar *getTitleBar() const { return titleBar; }
    void setTitle(const QString &title);
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
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

    // Derived dialogs add their content below the title bar.
    QVBoxLayout *contentLayout() const { return mainLayout; }

    FWindowDrag drag;
    FTitleBar *titleBar;
    QSize presetSize;

private:
    QVBoxLayout *mainLayout;
};
