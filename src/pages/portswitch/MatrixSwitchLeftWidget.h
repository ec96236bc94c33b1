#pragma once

#include <QWidget>

class MInputListWidget;
class QLineEdit;
class QStackedWidget;

// The port-switch page's left pane: the logged-in user's name, the change of the user's own
// password, and the lists of input and output ports behind two exclusive buttons.
class MatrixSwitchLeftWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MatrixSwitchLeftWidget(QWidget* parent = nullptr);

    // Shows the user's name and fills (update false) or relabels (update true) the port lists.
    void initConfig(bool update);

public slots:
    void on_pushButtonChangePassword_clicked();
    void on_pushButtonInput_clicked();
    void on_pushButtonOutput_clicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* userName;
    QLineEdit* oldPassword;
    QLineEdit* newPassword;
    QStackedWidget* stack;
    MInputListWidget* inputList;
    MInputListWidget* outputList;
};
