#pragma once

#include <QWidget>

class PortGrid;
class QSpinBox;

// The row above a port grid: "从" From and "到" To (1 to 160), then "选择" (check the enabled
// ports of the range and uncheck the others), "取消选择" (uncheck every port) and "全选" (check
// every enabled port). Raising From raises To with it, so the range never runs backwards.
// Object names: spinBoxStart, spinBoxEnd, pushButtonChecked, pushButtonUnchecked and
// pushButtonCheckedAll, each followed by suffix ("_2" for a page's second row).
class PortRangeBar : public QWidget
{
    Q_OBJECT
public:
    PortRangeBar(PortGrid* grid, const QString& suffix, QWidget* parent = nullptr);

private:
    PortGrid* grid;
    QSpinBox* start;
    QSpinBox* end;
};
