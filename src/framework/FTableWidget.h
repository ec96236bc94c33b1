#pragma once

#include <QTableWidget>

// Read-only table that selects whole rows, one at a time, and never takes the focus.
class FTableWidget : public QTableWidget
{
    Q_OBJECT
public:
    explicit FTableWidget(QWidget *parent = nullptr);

public slots:
    // Restores the resting background of the even row left behind and clears the one of the
    // even row entered. Callers connect it to the table's signal of the same name.
    void currentCellChanged(int currentRow, int currentColumn, int previousRow, int previousColumn);
};
