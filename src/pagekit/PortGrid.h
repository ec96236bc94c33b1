#pragma once

#include <QList>
#include <QMap>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;

// The 160 port buttons of a side in 8 rows of 20, texts "1" to "160", group ids 0 to 159
// whatever the device's port count, each with the property "Type" = "MatrixSwitch". Radio
// buttons (one input at a time) or check boxes. A disabled button is a port the user may not
// use, or one the matrix does not have: the grid never checks it, and never reports it as
// selected.
class PortGrid : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { RadioButtons, CheckBoxes };
    static constexpr int PortCount = 160;
    static constexpr int Columns = 20;

    // objectName names the grid widget and layoutName its QGridLayout ("widgetInput",
    // "gridLayoutInput").
    PortGrid(Kind kind, const QString& objectName, const QString& layoutName, QWidget* parent = nullptr);

    QButtonGroup* group() const { return buttons; }

    // Ports from count on do not exist on the matrix: disabled, whatever the rights say.
    void setPortCount(int count);
    // Enables each port by its entry; ports without an entry stay enabled.
    void applyRights(const QMap<int, bool>& rights);
    // Shows rights as check marks: permitted (also without an entry) = checked.
    void showRights(const QMap<int, bool>& rights);
    // One entry per port, true for a checked box.
    QMap<int, bool> checkedMap() const;

    // Checks the enabled ports first..last (0-based, inclusive) and unchecks the other enabled
    // ones; disabled ports are left as they are.
    void selectRange(int first, int last);
    void selectAll();
    // Unchecks every port, enabled or not.
    void clearAll();
    // Checks port when it is enabled, or unchecks it.
    void setPortChecked(int port, bool checked);

    // Enabled and checked ports, ascending.
    QList<int> selectedPorts() const;
    // The checked enabled port of a radio grid; -1 when none.
    int checkedPort() const;

signals:
    void portClicked(int port);

private:
    QAbstractButton* button(int port) const;

    QButtonGroup* buttons;
    int portCount = PortCount;
};
