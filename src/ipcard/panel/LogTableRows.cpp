#include "ipcard/panel/LogTableRows.h"

#include <QTableWidget>

void showLogRows(QTableWidget* table, const QVector<LogPaging::Row>& rows)
{
    table->setUpdatesEnabled(false);
    table->setRowCount(0);
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const QString cells[4] = {rows[r].number, rows[r].type, rows[r].time, rows[r].content};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignCenter);
            table->setItem(r, c, item);
        }
    }
    table->setUpdatesEnabled(true);
}
