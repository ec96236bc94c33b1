#include "framework/fpolygonButton.h"

#include <QPainter>

fpolygonButton::fpolygonButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("fpolygonButton"));
}

void fpolygonButton::setDirection(int direction)
{
    const int w = width();
    const int h = height();
    const int h6 = h / 6;
    const int w6 = w / 6;
    QPolygon corners;
    switch (direction) {
    case 0:
        corners << QPoint(w, 0) << QPoint(0, h6) << QPoint(0, h - h6) << QPoint(w, h);
        break;
    case 1:
        corners << QPoint(0, 0) << QPoint(w, h6) << QPoint(w, h - h6) << QPoint(0, h);
        break;
    case 2:
        corners << QPoint(0, h) << QPoint(w6, 0) << QPoint(w - w6, 0) << QPoint(w, h);
        break;
    case 3:
        corners << QPoint(0, 0) << QPoint(w6, h) << QPoint(w - w6, h) << QPoint(w, 0);
        break;
    default:
        return;
    }
    polygon = corners;
    outline = {QLineF(corners[0], corners[1]), QLineF(corners[1], corners[2]),
               QLineF(corners[2], corners[3])};
    // The fourth side, from the last corner back to the first, is the marked wide side.
    highlight = QLineF(corners[3], corners[0]);
    update();
}

void fpolygonButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    p.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    p.drawLines(outline);
    p.drawText(rect(), Qt::AlignCenter, text());
    p.setPen(QPen(QColor(100, 100, 100), 2));
    p.drawLine(highlight);
}
