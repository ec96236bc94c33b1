#pragma once

#include <QString>
#include <QWidget>

class QTimer;

// One output tile of the switching page: the routed input above the output's name. A drop of a
// port routes that input here, a click (300 ms after the press, unless a double click follows)
// routes the input list's current input, a double click closes the output.
class ScreenWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ScreenWidget(QWidget* parent = nullptr);

    static constexpr int kClickDelayMs = 300;

    void setPortIndex(int port) { portIndex = port; }
    int getPortIndex() const { return portIndex; }

    // The upper line: the label of the input (kind 0) or output (kind 1) port; "无" for a
    // negative port (no input, or closed).
    void setCardText(int port, int kind);
    QString inputText() const { return inText; }

    // The lower line, set by the page's refresh.
    void setOutputText(const QString& text);
    QString outputText() const { return outText; }

    bool isSelected() const { return selected; }
    void setSelected(bool on);

signals:
    void dropped(int input);
    void signalCloseSwicth(int port);
    void clicked();

public slots:
    void mouseClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString outText;
    QString inText;
    int portIndex = -1;
    bool selected = false;
    QTimer* clickTimer;
};
