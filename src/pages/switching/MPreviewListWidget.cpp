#include "pages/switching/MPreviewListWidget.h"

#include "core/CardInfo.h"
#include "core/MatrixModel.h"
#include "pagekit/PageModel.h"
#include "pages/switching/PreviewControlWidget.h"
#include "pages/switching/RouteSwitch.h"
#include "pagekit/StyledBackground.h"

#include <QHBoxLayout>
#include <QPushButton>

MPreviewListWidget::MPreviewListWidget(QWidget* parent)
    : QWidget(parent)
    , layout(new QHBoxLayout(this))
    , downBtn(new QPushButton(this))
    , upBtn(new QPushButton(this))
{
    setObjectName(QStringLiteral("MPreviewListWidget"));
    setFixedHeight(150);
    layout->setSpacing(10);
    layout->setContentsMargins(10, 10, 10, 10);

    downBtn->setObjectName(QStringLiteral("PreviewDownBtn"));
    downBtn->setFixedSize(40, 40);
    downBtn->hide();
    upBtn->setObjectName(QStringLiteral("PreviewUpBtn"));
    upBtn->setFixedSize(40, 40);
    upBtn->hide();
    connect(downBtn, &QPushButton::clicked, this, &MPreviewListWidget::onPageDownClick);
    connect(upBtn, &QPushButton::clicked, this, &MPreviewListWidget::onPageUpClick);

    // Tiles go between the two buttons.
    layout->addWidget(upBtn);
    layout->addWidget(downBtn);

    if (MatrixModel* model = PageModel::model())
        connect(model, &MatrixModel::routesChanged, this, &MPreviewListWidget::followRoutes);
}

QString MPreviewListWidget::inputLabel(int input)
{
    if (input < 0)
        return tr("无");
    const CardInfo record = PageModel::model()->getCardInfo(input);
    return portLabel(record.value(CardKey::InCard).toObject(), input);
}

void MPreviewListWidget::addPreviewTile(Media::WidgetRenderer* renderer, int shownInput, int previewOutput)
{
    auto* tile = new PreviewControlWidget;
    tile->setMaximumWidth(200);
    connect(tile, &PreviewControlWidget::dropped, this, &MPreviewListWidget::onSwicthPreview);
    tile->setPlayer(renderer);
    showInput(tile, shownInput);
    tile->setPreviewOutput(previewOutput);
    tiles.append(tile);
    layout->insertWidget(layout->count() - 1, tile);

    // Once the strip holds more than one page, page through it four tiles at a time.
    if (tiles.size() > kTilesPerPage) {
        upBtn->show();
        downBtn->show();
        showOnlyCurrentPage();
    }
}

void MPreviewListWidget::followRoutes()
{
    const MatrixModel* model = PageModel::model();
    if (!model)
        return;
    for (PreviewControlWidget* tile : qAsConst(tiles))
        showInput(tile, model->getRoute(tile->previewOutput()));
}

void MPreviewListWidget::showInput(PreviewControlWidget* tile, int input)
{
    tile->setLabelText(inputLabel(input));
    tile->setShownInput(input);
}

void MPreviewListWidget::showPage(int page, bool visible)
{
    if (tiles.size() <= kTilesPerPage)
        return;
    for (int i = page * kTilesPerPage; i < (page + 1) * kTilesPerPage; ++i) {
        if (i >= 0 && i < tiles.size())
            tiles.at(i)->setVisible(visible);
    }
}

void MPreviewListWidget::showOnlyCurrentPage()
{
    for (int page = 0; page < pageCount(); ++page)
        showPage(page, page == curPage);
}

void MPreviewListWidget::onSwicthPreview(int inCardIndex)
{
    auto* tile = qobject_cast<PreviewControlWidget*>(sender());
    if (!tile)
        return;
    const int output = tile->previewOutput();
    // The tile follows the routing map, like the output tiles.
    RouteSwitch(PageModel::model()).route(output, inCardIndex, QStringLiteral("SwitchIO"),
                                          {inCardIndex + 1, output + 1});
}

void MPreviewListWidget::onPageDownClick()
{
    showPage(curPage, false);
    ++curPage;
    if (curPage >= pageCount())
        curPage = 0;
    showPage(curPage, true);
}

void MPreviewListWidget::onPageUpClick()
{
    showPage(curPage, false);
    --curPage;
    if (curPage < 0)
        curPage = qMax(0, pageCount() - 1);
    showPage(curPage, true);
}

void MPreviewListWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
