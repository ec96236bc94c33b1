#pragma once

#include "framework/FWindowDrag.h"

#include <QDialog>
#include <QSize>

class FTitleBar;
class QVBoxLayout;

// What the frameless dialogs of both families share: a title bar above the content that shows
// only its close button, moving the dialog by that bar, the title and the maximise toggle.
// Each family sets its own bar, size, placement, Escape key and way of closing.
class FFramelessDialog : public QDialog
{
    Q_OBJECT
public:
    ~FFramelessDialog() override;

    FTitleBar *getTitleBar() const { return titleBar; }
    void setTitle(const QString &title);
    QSize getPresetSize() const { return presetSize; }

signals:
    void Hidden();

public slots:
    // Closes the dialog the family's way (the title bar's close button runs it).
    virtual void animationClose() = 0;
    virtual void swithMaxNormal();

protected:
    FFramelessDialog(const QSize &presetSize, QWidget *parent);

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

    // Derived dialogs add their content below the title bar.
    QVBoxLayout *contentLayout() const { return mainLayout; }

    FWindowDrag drag;
    FTitleBar *titleBar;
    QSize presetSize;

private:
    QVBoxLayout *mainLayout;
};
