#pragma once

#include "pagekit/ProcessSingleton.h"

#include <QList>
#include <QWidget>

class EDIDOutListWidget;
class QPushButton;
class ScreenWidget;

// The EDID page: one tile per input port, sixteen to a page, and at the left the outputs whose
// EDID an input can copy (drop an output on an input tile) with the built-in EDID choice of the
// input selected by a click. One process-wide instance.
class MEDIDSettingWidget : public QWidget
{
    Q_OBJECT
public:
    // The tile count is fixed here from g_deviceModel.
    explicit MEDIDSettingWidget(QWidget* parent = nullptr);

    static MEDIDSettingWidget* instance();

    // Fills (update false) or relabels (update true) the output rows, then refreshes the tiles.
    void initConfig(bool update);
    // Repaints the tiles of a page; -1 keeps the current page.
    void refreshPage(int page);
    int currentPage() const { return curPage; }

public slots:
    // An output was dropped on an input tile: its EDID is copied to that input.
    void onSwicthStatusChanged(int source);
    void onPageDown();
    void onPageUp();
    void onScreenClick();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildLayout();

    EDIDOutListWidget* edidList;
    QWidget* screenView;
    QList<ScreenWidget*> tiles;
    int curPage = 0;
    QPushButton* pageDownBtn;
    QPushButton* pageUpBtn;
};
