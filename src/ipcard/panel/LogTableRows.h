#pragma once

// Shows one page of the card's log in the log tab's table: four centred columns.

#include "ipcard/panel/LogPaging.h"

class QTableWidget;

void showLogRows(QTableWidget* table, const QVector<LogPaging::Row>& rows);
