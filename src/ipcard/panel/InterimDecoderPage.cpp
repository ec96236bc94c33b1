#include "ipcard/panel/InterimDecoderPage.h"

#include "framework/FBasePushButton.h"
#include "framework/MessageShortcuts.h"
#include "ipcard/panel/IpCardCall.h"
#include "ipcard/panel/PanelTexts.h"
#include "ipcard/panel/VideoSourceListWalk.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace com::kiv::protobuf;

InterimDecoderPage::InterimDecoderPage(QWidget* parent)
    : QWidget(parent)
    , tree(new QTreeWidget(this))
    , refreshButton(new FBasePushButton(QString(), this))
{
    tree->setObjectName(QStringLiteral("DecoderTree"));
    tree->setColumnCount(1);
    tree->setUniformRowHeights(true);
    refreshButton->setObjectName(QStringLiteral("pushButtonRefrush"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(refreshButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree, 1);
    layout->addLayout(buttons);

    retranslateUi();
    QMetaObject::connectSlotsByName(this);
}

void InterimDecoderPage::retranslateUi()
{
    setWindowTitle(tr("解码器控制"));
    tree->setHeaderLabels({tr("视频源列表")});
    refreshButton->setText(tr("更新配置"));
}

void InterimDecoderPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void InterimDecoderPage::setDevice(DeviceToHisilicon* cardLink)
{
    link = cardLink;
}

void InterimDecoderPage::setCardIndex(int index)
{
    cardIndex = index;
}

void InterimDecoderPage::fillVideoSourceTree(const VideoSourceGroupManage& list)
{
    tree->clear();
    QTreeWidgetItem* group = nullptr;
    VideoSourceListWalk walk;
    walk.onGroup = [&](const QString& name) {
        group = new QTreeWidgetItem(tree, {name});
        group->setData(0, VideoSourceItem::KindRole, VideoSourceItem::GroupKind);
        tree->setCurrentItem(group);
    };
    walk.onSource = [&](const VideoSource& source, const QByteArray& bytes, bool inGroup) {
        auto* item = inGroup ? new QTreeWidgetItem(group, {videoSourceText(source.name())})
                             : new QTreeWidgetItem(tree, {videoSourceText(source.name())});
        item->setData(0, VideoSourceItem::KindRole, VideoSourceItem::SourceKind);
        item->setData(0, VideoSourceItem::BytesRole, bytes);
        tree->setCurrentItem(item);
    };
    walk.run(list);
    tree->expandAll();
}

void InterimDecoderPage::on_pushButtonRefrush_clicked()
{
    QByteArray reply;
    const IpLinkResult result = IpCardCall::request(link, 3, 3, QByteArray(), &reply);
    if (result != IpLinkCode::Success) {
        showErrorMessage(PanelTexts::failure(result));
        return;
    }
    VideoSourceGroupManage list;
    if (!IpCardCall::parse(reply, &list)) {
        showErrorMessage(PanelTexts::unreadableReply());
        return;
    }
    fillVideoSourceTree(list);
}
