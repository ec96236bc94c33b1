#pragma once

#include <QColor>
#include <QWidget>

class FIpAddrEdit;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

// The administrator's system page: the matrix's name and model text (sent at once), the
// administrator's own password, the interface language for the next start, the link's address
// and port, and a raw command console with a time-stamped log of what was sent and received and
// of the link's state.
class CSysConfigWidget : public QWidget
{
    Q_OBJECT
public:
    // Log line kinds of append().
    enum LogType { Sent = 0, Received = 1, Information = 2, Warning = 3 };
    static constexpr int MaxLogLines = 1000;

    explicit CSysConfigWidget(QWidget* parent = nullptr);
    ~CSysConfigWidget() override;

    static CSysConfigWidget* instance();

    // false lays the page out and connects it, once; true (the navigation) does nothing: the
    // page refreshes its fields whenever it is shown.
    void initConfig(bool update);

public slots:
    void readSettings();
    void writeSettings();
    void on_pushButtonChangePassword_clicked();
    void on_pushButtonSendCode_clicked();
    void on_pushButtonClearLog_clicked();
    void clientDisConnected();
    void clientConnected();
    void clientConnectTimeout();
    void clientReceived(QString text);
    void displayMessage(QString text);
    void onDeviceNameChanged();
    void onDeviceTypeChanged();
    void append(int type, QString data, bool clear = false);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layOut();
    // Shows a stored name or model text whole, one longer than the matrix takes included.
    void showDeviceText(QLineEdit* field, QString* filledWith, const QString& text);
    // Sends a changed name or model text and stores it once the command was written.
    void sendDeviceText(QLineEdit* field, QString* filledWith, const QString& key, bool isName);

    bool initialised = false;
    QLineEdit* modelEdit;
    QLineEdit* nameEdit;
    QLineEdit* accountEdit;
    QLineEdit* passwordEdit;
    QPushButton* changePasswordButton;
    FIpAddrEdit* addressEdit;
    QComboBox* languageBox;
    QLineEdit* portEdit;
    QLineEdit* codeEdit;
    QPushButton* sendButton;
    QTextEdit* logView;
    QPushButton* clearButton;
    // What readSettings() put into the name and model fields: leaving a field unchanged sends
    // nothing.
    QString filledName;
    QString filledModel;
    int logLines = 0;
    // The colour of the log's next line; a line of another kind keeps it.
    QColor logColour;
};
