#include "pages/switching/MCenterMainWindow.h"

#include "core/GlobalState.h"
#include "pagekit/MInputListWidget.h"
#include "pages/switching/MPreviewListWidget.h"
#include "pages/switching/MSenceListWidget.h"
#include "core/MatrixModel.h"
#include "pagekit/PageModel.h"
#include "pagekit/PortListRules.h"
#include "core/PublicClass.h"
#include "pages/switching/RouteSwitch.h"
#include "pages/switching/ScreenWidget.h"
#include "pagekit/StyledBackground.h"
#include "pages/switching/SwitchTiles.h"
#include "core/MatrixCommands.h"
#include "framework/WindowNudge.h"
#include "framework/fpolygonButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

fpolygonButton* foldButton(const QString& text, const QSize& size, int direction)
{
    auto* button = new fpolygonButton(text);
    button->setProperty("Type", QStringLiteral("ShrinkBtn"));
    button->setFixedSize(size);
    button->setDirection(direction);
    return button;
}

// A bar of fixed width (or height) holding one fold button.
QWidget* foldBar(const QString& type, fpolygonButton* button, bool vertical)
{
    auto* bar = new QWidget;
    bar->setProperty("Type", type);
    if (vertical)
        bar->setFixedWidth(20);
    else
        bar->setFixedHeight(20);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button);
    return bar;
}

} // namespace

MCenterMainWindow::MCenterMainWindow(QWidget* parent)
    : QWidget(parent)
    , inputList(new MInputListWidget)
    , screenView(new QWidget)
    , previewList(new MPreviewListWidget)
    , previewBar(nullptr)
    , senceList(new MSenceListWidget(this))
    , switchAllBtn(new QPushButton(tr("切换所有")))
    , closeAllBtn(new QPushButton(tr("关闭所有")))
    , pageDownBtn(new QPushButton(tr("下一页")))
    , pageUpBtn(new QPushButton(tr("上一页")))
{
    setObjectName(QStringLiteral("MCenterMainWindow"));
    inputList->setFixedWidth(200);
    screenView->setObjectName(QStringLiteral("ScreenViewWidget"));

    for (int i = 0; i < SwitchTiles::tileCount(g_deviceModel); ++i) {
        auto* tile = new ScreenWidget;
        connect(tile, &ScreenWidget::dropped, this, &MCenterMainWindow::onSwicthStatusChanged);
        connect(tile, &ScreenWidget::clicked, this, &MCenterMainWindow::onScreenClicked);
        connect(tile, &ScreenWidget::signalCloseSwicth, this, &MCenterMainWindow::onCloseSwicthStatus);
        tile->setPortIndex(i);
        tiles << tile;
    }

    switchAllBtn->setObjectName(QStringLiteral("SwitchAllBtn"));
    closeAllBtn->setObjectName(QStringLiteral("CloseAllBtn"));
    pageDownBtn->setObjectName(QStringLiteral("PageDownBtn"));
    pageUpBtn->setObjectName(QStringLiteral("PageUpBtn"));

    inputFoldBtn = foldButton(tr("输\n入"), QSize(20, 90), 1);
    previewFoldBtn = foldButton(tr("视频预览"), QSize(80, 20), 2);
    senceFoldBtn = foldButton(tr("场\n景"), QSize(20, 90), 0);

    buildLayout();

    connect(switchAllBtn, &QPushButton::clicked, this, &MCenterMainWindow::onSwitchAll);
    connect(closeAllBtn, &QPushButton::clicked, this, &MCenterMainWindow::onCloseAll);
    connect(pageDownBtn, &QPushButton::clicked, this, &MCenterMainWindow::onPageDown);
    connect(pageUpBtn, &QPushButton::clicked, this, &MCenterMainWindow::onPageUp);
    connect(inputFoldBtn, &QPushButton::clicked, this, &MCenterMainWindow::onInputFlexibleClick);
    connect(previewFoldBtn, &QPushButton::clicked, this, &MCenterMainWindow::onPreviewFlexibleClick);
    connect(senceFoldBtn, &QPushButton::clicked, this, &MCenterMainWindow::onSenceFlexibleClick);
    subscribeToModel();
}

void MCenterMainWindow::subscribeToModel()
{
    connect(PageModel::model(), &MatrixModel::routesChanged, this, [this] { refreshPage(-1); });
}

MCenterMainWindow* MCenterMainWindow::instance()
{
    return ProcessSingleton<MCenterMainWindow>::instance();
}

void MCenterMainWindow::buildLayout()
{
    SwitchTiles::layOutTiles(screenView, QList<QWidget*>(tiles.begin(), tiles.end()));

    QWidget* sceneBar = foldBar(QStringLiteral("sceneBtnWidget"), senceFoldBtn, true);
    QWidget* inputBar = foldBar(QStringLiteral("inputBtnWidget"), inputFoldBtn, true);
    previewBar = foldBar(QStringLiteral("previewBtnWidget"), previewFoldBtn, false);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(5);
    buttonRow->addStretch();
    buttonRow->addWidget(switchAllBtn);
    buttonRow->addWidget(closeAllBtn);
    buttonRow->addWidget(pageUpBtn);
    buttonRow->addWidget(pageDownBtn);
    buttonRow->setContentsMargins(0, 0, 50, 0);

    auto* centre = new QVBoxLayout;
    centre->setSpacing(0);
    centre->setContentsMargins(0, 0, 0, 0);
    centre->addWidget(screenView);
    centre->addLayout(buttonRow);
    centre->addWidget(previewBar);
    centre->addWidget(previewList);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->setContentsMargins(0, 0, 0, 0);
    middle->addWidget(inputBar);
    middle->addLayout(centre);
    middle->addWidget(sceneBar);
    middle->addWidget(senceList);

    auto* page = new QHBoxLayout(this);
    page->setSpacing(0);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(inputList);
    page->addLayout(middle);
}

void MCenterMainWindow::initConfig(bool update)
{
    PortListRules::forEachListedPort(PortListRules::Inputs, [this, update](int port, const CardInfo& record) {
        inputList->setCardItem(port, record, 0, update);
    });
    refreshPage(-1);
}

void MCenterMainWindow::refreshPage(int page)
{
    if (page >= 0)
        curPage = page;
    const MatrixModel* model = PageModel::model();
    SwitchTiles::forEachTileOfPage(tiles, curPage, g_deviceModel, model->cardCount(), [model](ScreenWidget* tile, int p) {
        const QJsonObject out = model->getCardInfo(p).value(CardKey::OutCard).toObject();
        tile->setPortIndex(p);
        tile->setOutputText(portLabel(out, p));
        tile->setEnabled(SwitchTiles::outputOffered(out.value(CardKey::CardType).toInt(0), p));
        tile->setCardText(model->getRoute(p), 0);
    });
}

void MCenterMainWindow::togglePanel(QWidget* panel)
{
    panel->setVisible(!panel->isVisible());
    nudgeWindowLayout(this);
}

void MCenterMainWindow::onInputFlexibleClick()
{
    togglePanel(inputList);
}

void MCenterMainWindow::onSenceFlexibleClick()
{
    togglePanel(senceList);
}

void MCenterMainWindow::onPreviewFlexibleClick()
{
    togglePanel(previewList);
}

void MCenterMainWindow::onSwicthStatusChanged(int input)
{
    auto* tile = qobject_cast<ScreenWidget*>(sender());
    if (!tile || tile->getPortIndex() < 0)
        return;
    const int output = tile->getPortIndex();
    RouteSwitch(PageModel::model()).route(output, input, QStringLiteral("SwitchIO"), {input + 1, output + 1});
}

void MCenterMainWindow::onScreenClicked()
{
    auto* tile = qobject_cast<ScreenWidget*>(sender());
    if (!tile || tile->getPortIndex() < 0)
        return;
    const int output = tile->getPortIndex();
    const int input = inputList->currentCardIndex();
    RouteSwitch(PageModel::model()).route(output, input, QStringLiteral("SwitchIO"), {input + 1, output + 1});
}

void MCenterMainWindow::onCloseSwicthStatus(int port)
{
    if (port < 0)
        return;
    RouteSwitch(PageModel::model()).route(port, -1, QStringLiteral("CloseOut"), {port + 1});
}

void MCenterMainWindow::onSwitchAll()
{
    // Tiles and previews follow the matrix's "To All" report.
    MatrixCommands().sendSystem(QStringLiteral("SwitchAll"), {inputList->currentCardIndex() + 1}, false);
    refreshPage(curPage);
}

void MCenterMainWindow::onCloseAll()
{
    MatrixCommands().sendSystem(QStringLiteral("CloseAll"), {}, false);
    refreshPage(curPage);
}

void MCenterMainWindow::onPageDown()
{
    refreshPage(SwitchTiles::nextPage(curPage, g_deviceModel));
}

void MCenterMainWindow::onPageUp()
{
    refreshPage(SwitchTiles::previousPage(curPage, g_deviceModel));
}

void MCenterMainWindow::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
