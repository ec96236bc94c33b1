#pragma once

#include <QPushButton>

// Flat checkable page button of the navigation bar. A double click is reported on its own and
// does not also count as a click.
class FCheckabelButton : public QPushButton
{
    Q_OBJECT
public:
    FCheckabelButton(const QString &text, QWidget *parent = nullptr);
    explicit FCheckabelButton(QWidget *parent = nullptr);

signals:
    void doubleClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void setUp();
};
