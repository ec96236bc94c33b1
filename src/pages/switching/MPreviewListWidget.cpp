#include "pages/switching/MPreviewListWidget.h"

#include "core/CardInfo.h"
#include "core/MatrixModel.h"
#include "pagekit/PageModel.h"
#include "pages/switching/PreviewControlWidget.h"
#include "pagekit/StyledBackground.h"
#include "core/MatrixCommands.h"

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
    tile->setLabelText(inputLabel(shownInput));
    tile->setShownInput(shownInput);
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

void MPreviewListWidget::refreshNames(int inputNumber, int outputNumber)
{
    for (PreviewControlWidget* tile : qAsConst(tiles)) {
        if (tile->previewOutput() == outputNumber - 1) {
            tile->setLabelText(inputLabel(inputNumber - 1));
            return;
        }
    }
}

void MPreviewListWidget::relabelAll(int input)
{
    const QString text = inputLabel(input);
    for (PreviewControlWidget* tile : qAsConst(tiles))
        tile->setLabelText(text);
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
    MatrixCommands().sendSystem(QStringLiteral("SwitchIO"), {inCardIndex + 1, output + 1}, false);
    // The routing map follows the matrix's report.
    tile->setLabelText(inputLabel(inCardIndex));
    tile->setShownInput(inCardIndex);
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
