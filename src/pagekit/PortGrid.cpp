#include "pagekit/PortGrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QVariant>

PortGrid::PortGrid(Kind kind, const QString& objectName, const QString& layoutName, QWidget* parent)
    : QWidget(parent)
    , buttons(new QButtonGroup(this))
{
    setObjectName(objectName);
    buttons->setExclusive(kind == Kind::RadioButtons);
    auto* grid = new QGridLayout(this);
    grid->setObjectName(layoutName);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    const QVariant type(QStringLiteral("MatrixSwitch"));
    for (int port = 0; port < PortCount; ++port) {
        const QString text = QString::number(port + 1);
        QAbstractButton* b = kind == Kind::RadioButtons ? static_cast<QAbstractButton*>(new QRadioButton(text, this))
                                                         : new QCheckBox(text, this);
        b->setProperty("Type", type);
        // Never narrower than its number: the page grows instead.
        b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        buttons->addButton(b, port);
        grid->addWidget(b, port / Columns, port % Columns);
    }
    connect(buttons, &QButtonGroup::idClicked, this, &PortGrid::portClicked);
}

QAbstractButton* PortGrid::button(int port) const
{
    return buttons->button(port);
}

void PortGrid::setPortCount(int count)
{
    portCount = qBound(0, count, int(PortCount));
    for (int port = portCount; port < PortCount; ++port)
        button(port)->setEnabled(false);
}

void PortGrid::applyRights(const QMap<int, bool>& rights)
{
    for (auto it = rights.cbegin(); it != rights.cend(); ++it) {
        if (QAbstractButton* b = button(it.key()))
            b->setEnabled(it.value() && it.key() < portCount);
    }
}

void PortGrid::showRights(const QMap<int, bool>& rights)
{
    for (int port = 0; port < PortCount; ++port)
        button(port)->setChecked(rights.value(port, true));
}

QMap<int, bool> PortGrid::checkedMap() const
{
    QMap<int, bool> map;
    for (int port = 0; port < PortCount; ++port)
        map.insert(port, button(port)->isChecked());
    return map;
}

void PortGrid::selectRange(int first, int last)
{
    for (int port = 0; port < PortCount; ++port) {
        QAbstractButton* b = button(port);
        if (b->isEnabled())
            b->setChecked(port >= first && port <= last);
    }
}

void PortGrid::selectAll()
{
    selectRange(0, PortCount - 1);
}

void PortGrid::clearAll()
{
    // An exclusive group keeps one button checked: lift the rule while clearing.
    const bool exclusive = buttons->exclusive();
    buttons->setExclusive(false);
    for (QAbstractButton* b : buttons->buttons())
        b->setChecked(false);
    buttons->setExclusive(exclusive);
}

void PortGrid::setPortChecked(int port, bool checked)
{
    QAbstractButton* b = button(port);
    if (b && (!checked || b->isEnabled()))
        b->setChecked(checked);
}

QList<int> PortGrid::selectedPorts() const
{
    QList<int> ports;
    for (int port = 0; port < PortCount; ++port) {
        const QAbstractButton* b = button(port);
        if (b->isEnabled() && b->isChecked())
            ports << port;
    }
    return ports;
}

int PortGrid::checkedPort() const
{
    const int port = buttons->checkedId();
    return port >= 0 && button(port)->isEnabled() ? port : -1;
}
