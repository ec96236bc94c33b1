#pragma once

// One pane of the decoder's video wall: shows the name of the video source it holds. A source
// dragged from the decoder's tree replaces it; a double click empties the pane.

#include <QByteArray>
#include <QWidget>

class ScreenIpWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char* SourceProperty = "VideoSource";

    explicit ScreenIpWidget(QWidget* parent = nullptr);

    // The serialised video source shown (property "VideoSource"); empty for an empty pane.
    QByteArray videoSource() const;
    void setVideoSource(const QByteArray& source);
    // The source's name as the pane shows it.
    QString sourceName() const;

signals:
    void dropped();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool hovered = false;
};
