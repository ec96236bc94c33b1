#include "app/DialogLayouts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace DialogLayouts {

QHBoxLayout* centredButtons(QWidget* ok, QWidget* cancel)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(20);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addStretch();
    return row;
}

QGridLayout* labelledRows(const QList<LabelledRow>& rows, QWidget* host)
{
    auto* grid = host ? new QGridLayout(host) : new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(20);
    for (int i = 0; i < rows.size(); ++i) {
        auto* label = new QLabel(rows.at(i).first, host);
        label->setFixedHeight(24);
        grid->addWidget(label, i, 0);
        grid->addWidget(rows.at(i).second, i, 1);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

} // namespace DialogLayouts
