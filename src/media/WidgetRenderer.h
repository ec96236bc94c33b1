#pragma once

#include "media/VideoRenderer.h"

#include <QWidget>

namespace Media {

// Paints the newest picture of its players into a widget (black until the first one). When the
// pictures stop, the last one is dimmed under a caption until pictures come again.
class WidgetRenderer : public QWidget, public VideoRenderer
{
    Q_OBJECT
public:
    explicit WidgetRenderer(QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    QSize rendererSize() const override { return size(); }
    void receive(const VideoFrame& frame) override;
    void signalLost() override;

    // The picture on show (null before the first one).
    QImage currentImage() const { return current.image; }
    qint64 framesReceived() const { return received; }
    // True from a loss of the pictures until the next picture.
    bool isSignalLost() const { return lost; }
    // The caption over a lost signal (none by default), painted in the widget's font and its
    // palette's text colour.
    void setSignalLostText(const QString& text);
    QString signalLostText() const { return lostText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect targetRect() const;
    void paintSignalLost(QPainter& painter);

    VideoFrame current;
    qint64 received = 0;
    bool lost = false;
    QString lostText;
};

} // namespace Media
