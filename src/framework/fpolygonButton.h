#pragma once

#include <QLineF>
#include <QPolygon>
#include <QPushButton>
#include <QVector>

// Button drawn as a trapezoid whose wide side is marked: it narrows toward the left (0),
// right (1), top (2) or bottom (3). The outline is taken from the size at setDirection time.
class fpolygonButton : public QPushButton
{
    Q_OBJECT
public:
    explicit fpolygonButton(const QString &text, QWidget *parent = nullptr);

    void setDirection(int direction);

    QVector<QLineF> outlineLines() const { return outline; }
    QLineF highlightLine() const { return highlight; }
    QPolygon outlinePolygon() const { return polygon; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPolygon polygon;
    QVector<QLineF> outline;
    QLineF highlight;
};
