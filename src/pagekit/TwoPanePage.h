#pragma once

#include <QWidget>

// A page made of a left pane 200 pixels wide and a right pane beside it, followed by a stretch;
// the page paints its background through the style sheet.
class TwoPanePage : public QWidget
{
    Q_OBJECT
public:
    explicit TwoPanePage(const QString& objectName, QWidget* parent = nullptr);

protected:
    // Lays the two panes out; the page takes them over.
    void setPanes(QWidget* left, QWidget* right);
    void paintEvent(QPaintEvent* event) override;
};
