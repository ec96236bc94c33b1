#include "pagekit/PortRangeBar.h"

#include "pagekit/PortGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

QSpinBox* portSpinBox(const QString& name, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(1, PortGrid::PortCount);
    box->setValue(value);
    return box;
}

} // namespace

PortRangeBar::PortRangeBar(PortGrid* portGrid, const QString& suffix, QWidget* parent)
    : QWidget(parent)
    , grid(portGrid)
    , start(portSpinBox(QStringLiteral("spinBoxStart") + suffix, 1, this))
    , end(portSpinBox(QStringLiteral("spinBoxEnd") + suffix, PortGrid::PortCount, this))
{
    auto* select = new QPushButton(tr("选择"), this);
    select->setObjectName(QStringLiteral("pushButtonChecked") + suffix);
    auto* deselect = new QPushButton(tr("取消选择"), this);
    deselect->setObjectName(QStringLiteral("pushButtonUnchecked") + suffix);
    auto* all = new QPushButton(tr("全选"), this);
    all->setObjectName(QStringLiteral("pushButtonCheckedAll") + suffix);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(20);
    row->addWidget(new QLabel(tr("从"), this));
    row->addWidget(start);
    row->addWidget(new QLabel(tr("到"), this));
    row->addWidget(end);
    row->addWidget(select);
    row->addWidget(deselect);
    row->addWidget(all);
    row->addStretch();

    connect(start, qOverload<int>(&QSpinBox::valueChanged), end, &QSpinBox::setMinimum);
    connect(select, &QPushButton::clicked, this, [this] { grid->selectRange(start->value() - 1, end->value() - 1); });
    connect(deselect, &QPushButton::clicked, grid, &PortGrid::clearAll);
    connect(all, &QPushButton::clicked, grid, &PortGrid::selectAll);
}
