#pragma once

#include "pagekit/ProcessSingleton.h"

#include <QList>
#include <QWidget>

class MInputListWidget;
class MPreviewListWidget;
class MSenceListWidget;
class QPushButton;
class ScreenWidget;
class fpolygonButton;

// The switching page: one tile per output, sixteen to a page, with the input list on the left,
// the preview strip below and the scene panel on the right, each of which can be folded away.
// Dropping an input on a tile, clicking, double-clicking and the two bulk buttons send commands
// to the matrix; the page repaints from the routing map. One process-wide instance.
class MCenterMainWindow : public QWidget
{
    Q_OBJECT
public:
    // The tile count is fixed here from g_deviceModel.
    explicit MCenterMainWindow(QWidget* parent = nullptr);

    static MCenterMainWindow* instance();

    // Fills (update false) or relabels (update true) the input list, then refreshes the page.
    void initConfig(bool update);
    // Repaints the tiles of a page; -1 keeps the current page.
    void refreshPage(int page);

    int currentPage() const { return curPage; }
    QList<ScreenWidget*> screenTiles() const { return tiles; }
    MInputListWidget* inputListWidget() const { return inputList; }
    MSenceListWidget* senceListWidget() const { return senceList; }
    // The preview strip below the tile grid.
    MPreviewListWidget* previewListWidget() const { return previewList; }
    QPushButton* switchAllButton() const { return switchAllBtn; }
    QPushButton* closeAllButton() const { return closeAllBtn; }
    QPushButton* pageDownButton() const { return pageDownBtn; }
    QPushButton* pageUpButton() const { return pageUpBtn; }
    fpolygonButton* inputFoldButton() const { return inputFoldBtn; }
    fpolygonButton* previewFoldButton() const { return previewFoldBtn; }
    fpolygonButton* senceFoldButton() const { return senceFoldBtn; }

public slots:
    void onInputFlexibleClick();
    void onSenceFlexibleClick();
    void onPreviewFlexibleClick();
    void onSwicthStatusChanged(int input);
    void onScreenClicked();
    void onCloseSwicthStatus(int port);
    void onSwitchAll();
    void onCloseAll();
    void onPageDown();
    void onPageUp();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildLayout();
    void subscribeToModel();
    void togglePanel(QWidget* panel);

    MInputListWidget* inputList;
    QWidget* screenView;
    MPreviewListWidget* previewList;
    QWidget* previewBar;
    MSenceListWidget* senceList;
    fpolygonButton* inputFoldBtn;
    fpolygonButton* previewFoldBtn;
    fpolygonButton* senceFoldBtn;
    QList<ScreenWidget*> tiles;
    int curPage = 0;
    QPushButton* switchAllBtn;
    QPushButton* closeAllBtn;
    QPushButton* pageDownBtn;
    QPushButton* pageUpBtn;
};
