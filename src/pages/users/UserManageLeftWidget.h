#pragma once

#include <QWidget>

class QLineEdit;
class QTableWidget;

// The account pane of the user page: the users who are not administrators (Id under
// Qt::UserRole), adding one, setting a user's password, deleting, and export and import of the
// whole user database as a ".bak" backup.
class UserManageLeftWidget : public QWidget
{
    Q_OBJECT
public:
    explicit UserManageLeftWidget(QWidget* parent = nullptr);

    // Rebuilds the table from the store.
    void initUserTable();

signals:
    // The user to show on the right; -1 = none.
    void UserItemSelected(qlonglong id);

public slots:
    void on_pushButtonAddUser_clicked();
    void on_pushButtonChangePassword_clicked();
    void on_pushButtonDeleteUser_clicked();
    void on_tableWidgetUser_cellClicked(int row, int column);
    void on_pushButtonImport_clicked();
    void on_pushButtonExport_clicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void appendRow(qint64 id, const QString& name);
    // The Id of the current row; -1 when no row is current.
    qint64 currentId() const;
    void showNoUser();

    QLineEdit* userName;
    QLineEdit* password;
    QTableWidget* table;
};
