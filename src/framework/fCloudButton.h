#pragma once

#include <QRegion>
#include <QWidget>

// Round pan/tilt pad: an "Ok" centre and eight directions. Hit-tested against a fixed 100 x 100
// geometry (the size it is always shown at); press and release report the area.
class fCloudButton : public QWidget
{
    Q_OBJECT
public:
    enum ButtonType {
        None = 0,
        Centre = 1,
        Up = 2,
        UpLeft = 3,
        Left = 4,
        DownLeft = 5,
        Down = 6,
        DownRight = 7,
        Right = 8,
        UpRight = 9
    };
    Q_ENUM(ButtonType)

    explicit fCloudButton(QWidget *parent = nullptr);

    // The area a point of the 100 x 100 pad belongs to (never None).
    ButtonType areaAt(const QPoint &pos) const;
    ButtonType currentType() const { return current; }

signals:
    void signalPress(fCloudButton::ButtonType type);
    void signalRelease(fCloudButton::ButtonType type);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int arrowDistance = 40;
    int arrowWidth = 12;
    int arrowCount = 8;
    QRegion centreRegion;
    bool pressed = false;
    ButtonType current = None;
};
