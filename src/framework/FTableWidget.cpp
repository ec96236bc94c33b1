#include "framework/FTableWidget.h"

#include <QHeaderView>

namespace {
const char *const kRestingSheet =
    "QWidget[Type=\"BackWidget\"]{background-color: rgb(245, 245, 244);}"
    "QComboBox QAbstractItemView{background-color: rgb(43, 101, 210);}";
const char *const kCurrentSheet =
    "QWidget[Type=\"BackWidget\"]{background-color: transparent;}"
    "QComboBox QAbstractItemView{background-color: rgb(43, 101, 210);}";
}

FTableWidget::FTableWidget(QWidget *parent)
    : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->hide();
    setHorizontalHeader(new QHeaderView(Qt::Horizontal, this));
}

void FTableWidget::currentCellChanged(int currentRow, int, int previousRow, int)
{
    if (previousRow >= 0 && previousRow % 2 == 0) {
        for (int column = 0; column < columnCount(); ++column) {
            if (QTableWidgetItem *cell = item(previousRow, column))
                cell->setBackground(QColor(245, 245, 244));
            else if (QWidget *widget = cellWidget(previousRow, column))
                widget->setStyleSheet(QString::fromLatin1(kRestingSheet));
        }
    }
    if (currentRow >= 0 && currentRow % 2 == 0) {
        for (int column = 0; column < columnCount(); ++column) {
            if (QWidget *widget = cellWidget(currentRow, column))
                widget->setStyleSheet(QString::fromLatin1(kCurrentSheet));
        }
    }
}
