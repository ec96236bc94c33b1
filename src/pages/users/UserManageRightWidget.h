#pragma once

#include <QWidget>

class PortGrid;
class QLineEdit;

// The rights pane of the user page: for the user chosen on the left, 160 input and 160 output
// check boxes (checked = the user may use the port) with their range rows, saved as 160 entries
// per side.
class UserManageRightWidget : public QWidget
{
    Q_OBJECT
public:
    explicit UserManageRightWidget(QWidget* parent = nullptr);

public slots:
    void on_pushButtonOk_clicked();
    // Shows the rights of user id; -1 (or an unknown id) shows no user.
    void widgetLeft_UserItemSelected(qlonglong id);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* userName;
    PortGrid* inputs;
    PortGrid* outputs;
    qint64 selectedId = -1;
};
