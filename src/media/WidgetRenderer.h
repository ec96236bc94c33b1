#pragma once

#include "media/VideoRenderer.h"

#include <QWidget>

namespace Media {

// Paints the newest picture of its players into a widget (black until the first one).
class WidgetRenderer : public QWidget, public VideoRenderer
{
    Q_OBJECT
public:
    explicit WidgetRenderer(QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    QSize rendererSize() const override { return size(); }
    void receive(const VideoFrame& frame) override;

    // The picture on show (null before the first one).
    QImage currentImage() const { return current.image; }
    qint64 framesReceived() const { return received; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect targetRect() const;

    VideoFrame current;
    qint64 received = 0;
};

} // namespace Media
