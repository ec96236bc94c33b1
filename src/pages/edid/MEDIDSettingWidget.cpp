#include "pages/edid/MEDIDSettingWidget.h"

#include "core/CardInfo.h"
#include "core/GlobalState.h"
#include "core/MatrixModel.h"
#include "core/PortSettingStore.h"
#include "pagekit/PageModel.h"
#include "pagekit/PortListRules.h"
#include "pagekit/StyledBackground.h"
#include "pages/edid/EDIDOutListWidget.h"
#include "pages/edid/EdidPorts.h"
#include "pages/edid/EdidSettings.h"
#include "pages/switching/ScreenWidget.h"
#include "pages/switching/SwitchTiles.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

MEDIDSettingWidget::MEDIDSettingWidget(QWidget* parent)
    : QWidget(parent)
    , edidList(new EDIDOutListWidget(this))
    , screenView(new QWidget)
    , pageDownBtn(new QPushButton(tr("下一页")))
    , pageUpBtn(new QPushButton(tr("上一页")))
{
    setObjectName(QStringLiteral("MEDIDSettingWidget"));
    edidList->setFixedWidth(200);
    screenView->setObjectName(QStringLiteral("ScreenViewWidget"));
    pageDownBtn->setObjectName(QStringLiteral("PageDownBtn"));
    pageUpBtn->setObjectName(QStringLiteral("PageUpBtn"));
    for (int i = 0; i < SwitchTiles::tileCount(g_deviceModel); ++i) {
        auto* tile = new ScreenWidget;
        tile->setPortIndex(i);
        connect(tile, &ScreenWidget::dropped, this, &MEDIDSettingWidget::onSwicthStatusChanged);
        connect(tile, &ScreenWidget::clicked, this, &MEDIDSettingWidget::onScreenClick);
        connect(tile, &ScreenWidget::clicked, edidList, &EDIDOutListWidget::onSelectIndexChanged);
        tiles << tile;
    }
    buildLayout();
    connect(pageDownBtn, &QPushButton::clicked, this, &MEDIDSettingWidget::onPageDown);
    connect(pageUpBtn, &QPushButton::clicked, this, &MEDIDSettingWidget::onPageUp);
}

MEDIDSettingWidget* MEDIDSettingWidget::instance()
{
    return ProcessSingleton<MEDIDSettingWidget>::instance();
}

void MEDIDSettingWidget::buildLayout()
{
    SwitchTiles::layOutTiles(screenView, QList<QWidget*>(tiles.begin(), tiles.end()));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(5);
    buttonRow->addStretch();
    buttonRow->addWidget(pageUpBtn);
    buttonRow->addWidget(pageDownBtn);
    buttonRow->setContentsMargins(0, 20, 20, 50);

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(screenView);
    right->addLayout(buttonRow);

    auto* page = new QHBoxLayout(this);
    page->setSpacing(0);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(edidList);
    page->addLayout(right);
}

void MEDIDSettingWidget::initConfig(bool update)
{
    PortListRules::forEachListedPort(PortListRules::Outputs, EdidPorts::takesPart,
                                     [this, update](int port, const CardInfo& record) {
                                         edidList->setCardItem(port, record, 1, update);
                                     });
    refreshPage(-1);
}

void MEDIDSettingWidget::refreshPage(int page)
{
    if (page >= 0)
        curPage = page;
    const MatrixModel* model = PageModel::model();
    const int selected = edidList->selectedInput();
    SwitchTiles::forEachTileOfPage(tiles, curPage, g_deviceModel, model->cardCount(), [model, selected](ScreenWidget* tile, int p) {
        const QJsonObject in = model->getCardInfo(p).value(CardKey::InCard).toObject();
        tile->setPortIndex(p);
        tile->setOutputText(portLabel(in, p));
        tile->setEnabled(EdidPorts::takesPart(in.value(CardKey::CardType).toInt(0), p));
        tile->setCardText(in.value(EdidPorts::CopySourceKey).toInt(-1), 1);
        // The highlight follows the selected input, not the tile that was clicked.
        tile->setSelected(p == selected);
    });
}

void MEDIDSettingWidget::onSwicthStatusChanged(int source)
{
    auto* tile = qobject_cast<ScreenWidget*>(sender());
    if (!tile || tile->getPortIndex() < 0)
        return;
    EdidSettings().copy(source, tile->getPortIndex());
    refreshPage(curPage);
}

void MEDIDSettingWidget::onPageDown()
{
    refreshPage(SwitchTiles::nextPage(curPage, g_deviceModel));
}

void MEDIDSettingWidget::onPageUp()
{
    refreshPage(SwitchTiles::previousPage(curPage, g_deviceModel));
}

void MEDIDSettingWidget::onScreenClick()
{
    auto* tile = qobject_cast<ScreenWidget*>(sender());
    if (!tile)
        return;
    for (ScreenWidget* other : qAsConst(tiles))
        other->setSelected(other == tile);
}

void MEDIDSettingWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
