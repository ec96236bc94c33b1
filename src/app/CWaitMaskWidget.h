#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;
class QPropertyAnimation;
class QTimer;

// Busy overlay laid over the main window while a device operation runs: a cycling loading
// image and the text "请等待" with 0 to 3 growing dots. A top-level window of its own that
// follows the main window; at most one exists, and it deletes itself after fading out. Modal
// windows (message boxes) stay above it, so that they can be read and answered meanwhile.
class CWaitMaskWidget : public QWidget
{
    Q_OBJECT
public:
    // The one overlay, created on first use with that parent.
    static CWaitMaskWidget* instance(QWidget* parent = nullptr);
    static bool exists();
    ~CWaitMaskWidget() override;

    int currentFrame() const { return frame; }
    QString currentText() const { return shownText; }
    bool isShownWait() const { return shown; }

public slots:
    void changepic();
    void setBackgroundColor(QColor colorBackGround);
    void showWait();
    void hideWait();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit CWaitMaskWidget(QWidget* parent);
    void loadFrame();
    void centreImage();

    static constexpr int LastFrame = 17;

    QSize imageSize{120, 120};
    int frame = 1;
    QLabel* imageLabel = nullptr;
    QPixmap pixmap;
    QTimer* timer = nullptr;
    bool shown = false;
    QString baseText;
    QString shownText;
    float opacity = 0.7f;
    QPointer<QPropertyAnimation> fade;
};
