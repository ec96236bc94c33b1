#pragma once

#include <QList>
#include <QWidget>

class PreviewControlWidget;
class QHBoxLayout;
class QPushButton;

namespace Media {
class WidgetRenderer;
}

// The strip of preview tiles below the switching page's tile grid, one tile per channel of
// every preview output card, in key order. Each tile names, and drags, the input that the routing
// map gives its preview output, whoever changed the route. Dropping an input on a tile routes it
// to that preview output. More than four tiles are paged four at a time with the arrow buttons.
class MPreviewListWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTilesPerPage = 4;

    explicit MPreviewListWidget(QWidget* parent = nullptr);

    void addPreviewTile(Media::WidgetRenderer* renderer, int shownInput, int previewOutput);
    // Every tile shows (label and drag payload) the input routed to its preview output.
    void followRoutes();
    // Shows or hides the tiles of a page; nothing while the strip holds one page or less.
    void showPage(int page, bool visible);

    // Label of a 0-based input: its name, else the card-type word and the 1-based port;
    // "无" when no input (negative index).
    static QString inputLabel(int input);

    QList<PreviewControlWidget*> previewTiles() const { return tiles; }
    int currentPage() const { return curPage; }
    QPushButton* pageDownButton() const { return downBtn; }
    QPushButton* pageUpButton() const { return upBtn; }

public slots:
    void onSwicthPreview(int inCardIndex);
    void onPageDownClick();
    void onPageUpClick();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int pageCount() const { return (tiles.size() + kTilesPerPage - 1) / kTilesPerPage; }
    void showOnlyCurrentPage();
    static void showInput(PreviewControlWidget* tile, int input);

    QList<PreviewControlWidget*> tiles;
    QHBoxLayout* layout;
    QPushButton* downBtn;
    QPushButton* upBtn;
    int curPage = 0;
};
