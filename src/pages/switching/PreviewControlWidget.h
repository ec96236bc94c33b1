#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;
class QMimeData;
class QVBoxLayout;

namespace Media {
class WidgetRenderer;
}

// One tile of the preview strip: the live picture of a preview channel above a one-line label
// naming the input it shows. Inputs dropped on it are routed to its preview output; dragging it
// onto an output tile routes the shown input there.
class PreviewControlWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewControlWidget(QWidget* parent = nullptr);
    // Detaches the renderer from its player before the renderer goes with the tile.
    ~PreviewControlWidget() override;

    // Takes the renderer into the tile (video above, label below).
    void setPlayer(Media::WidgetRenderer* renderer);
    Media::WidgetRenderer* player() const { return renderer; }

    void setLabelText(const QString& text);
    QString labelText() const;

    int shownInput() const { return shownInputIndex; }
    void setShownInput(int input) { shownInputIndex = input; }
    int previewOutput() const { return previewOutputIndex; }
    void setPreviewOutput(int output) { previewOutputIndex = output; }

    // What a drag from the tile carries: the shown input (owned by the caller or its QDrag).
    QMimeData* dragData() const;

signals:
    void dropped(int input);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Media::WidgetRenderer* renderer = nullptr;
    QVBoxLayout* layout;
    QLabel* label;
    QPoint pressPos;
    int shownInputIndex = -1;
    int previewOutputIndex = -1;
};
