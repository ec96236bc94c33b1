#include "ipcard/panel/VideoSourceConfigDialog.h"

#include "framework/FBasePushButton.h"
#include "framework/MessageShortcuts.h"
#include "ipcard/panel/IpCardCall.h"
#include "ipcard/panel/PanelTexts.h"
#include "ipcard/panel/VideoSourceListWalk.h"
#include "ipcard/panel/VideoSourceNameRule.h"
#include "platform/TextHelpers.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionFrame>

using namespace com::kiv::protobuf;

namespace {

constexpr int kTypeCount = 10;

bool isAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

std::string latin1(const QLineEdit* edit)
{
    return edit->text().trimmed().toLatin1().toStdString();
}

// Room for the widest IPv4 address in the field's own font, padding and frame.
int ipv4FieldWidth(QLineEdit* edit)
{
    edit->ensurePolished();
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QMargins margins = edit->textMargins() + edit->contentsMargins();
    // The field keeps 2 pixels on either side of its text, and one for the cursor.
    const int text = edit->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) + 5;
    const QSize contents(text + margins.left() + margins.right(), edit->fontMetrics().height());
    return edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, edit).width();
}

} // namespace

// Fields filled by the program rather than typed: no URL rebuild on the way, and the inputs
// the URLs were built from are those loaded.
class VideoSourceConfigDialog::Loading
{
public:
    explicit Loading(VideoSourceConfigDialog* dialog) : d(dialog) { ++d->loading; }
    ~Loading()
    {
        if (--d->loading == 0)
            d->builtFrom = d->currentInputs();
    }

private:
    VideoSourceConfigDialog* d;
};

VideoSourceConfigDialog::VideoSourceConfigDialog(QWidget* parent)
    : FBaseDialog(parent)
    , nameLabel(new QLabel(this))
    , nameEdit(new QLineEdit(this))
    , typeLabel(new QLabel(this))
    , typeBox(new QComboBox(this))
    , addressLabel(new QLabel(this))
    , addressEdit(new QLineEdit(this))
    , foundBox(new QComboBox(this))
    , searchButton(new FBasePushButton(QString(), this))
    , userLabel(new QLabel(this))
    , userEdit(new QLineEdit(this))
    , passwordLabel(new QLabel(this))
    , passwordEdit(new QLineEdit(this))
    , mediaPortLabel(new QLabel(this))
    , mediaPortBox(new QSpinBox(this))
    , onvifPortLabel(new QLabel(this))
    , onvifPortBox(new QSpinBox(this))
    , channelLabel(new QLabel(this))
    , channelBox(new QSpinBox(this))
    , transportLabel(new QLabel(this))
    , transportBox(new QComboBox(this))
    , protocolGroup(new QGroupBox(this))
    , mainStreamLabel(new QLabel(protocolGroup))
    , mainStreamEdit(new QLineEdit(protocolGroup))
    , subStreamLabel(new QLabel(protocolGroup))
    , subStreamEdit(new QLineEdit(protocolGroup))
    , okButton(new FBasePushButton(QString(), this))
    , cancelButton(new FBasePushButton(QString(), this))
{
    setObjectName(QStringLiteral("VideoSourceConfigDialog"));
    setProperty("Attribute", QStringLiteral("PaneDialog"));
    presetSize = QSize(500, 300);

    nameEdit->setObjectName(QStringLiteral("lineEditName"));
    typeBox->setObjectName(QStringLiteral("comboBoxType"));
    addressEdit->setObjectName(QStringLiteral("lineEditAddress"));
    foundBox->setObjectName(QStringLiteral("comboBoxFound"));
    searchButton->setObjectName(QStringLiteral("pushButtonSearch"));
    userEdit->setObjectName(QStringLiteral("lineEditUser"));
    passwordEdit->setObjectName(QStringLiteral("lineEditPassword"));
    mediaPortBox->setObjectName(QStringLiteral("spinBoxMediaPort"));
    onvifPortBox->setObjectName(QStringLiteral("spinBoxOnvifPort"));
    channelBox->setObjectName(QStringLiteral("spinBoxChannel"));
    transportBox->setObjectName(QStringLiteral("comboBoxTransport"));
    protocolGroup->setObjectName(QStringLiteral("groupBoxProtocol"));
    mainStreamEdit->setObjectName(QStringLiteral("lineEditMainStream"));
    subStreamEdit->setObjectName(QStringLiteral("lineEditSubStream"));
    okButton->setObjectName(QStringLiteral("pushButtonOk"));
    cancelButton->setObjectName(QStringLiteral("pushButtonCancel"));

    for (int type = 0; type < kTypeCount; ++type)
        typeBox->addItem(QString::fromStdString(VideoSource::E_DeviceType_Name(VideoSource::E_DeviceType(type))));
    transportBox->addItems({QStringLiteral("TCP"), QStringLiteral("UDP")});
    foundBox->setFixedWidth(150);
    addressEdit->setMinimumWidth(ipv4FieldWidth(addressEdit));
    passwordEdit->setEchoMode(QLineEdit::Password);
    for (QSpinBox* port : {mediaPortBox, onvifPortBox}) {
        setOwnRange(port, 1, 65535);
        port->setValue(80);
    }
    setOwnRange(channelBox, 0, MaxChannel);
    channelBox->setEnabled(false);
    for (QLineEdit* stream : {mainStreamEdit, subStreamEdit}) {
        stream->setStyleSheet(QStringLiteral("QLineEdit{min-width:300;}"));
        stream->setEnabled(false);
    }
    nameEdit->setText(QStringLiteral("device"));
    userEdit->setText(QStringLiteral("admin"));

    auto* grid = new QGridLayout;
    grid->setContentsMargins(16, 12, 16, 6);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(nameEdit, 0, 1);
    grid->addWidget(typeLabel, 0, 2);
    grid->addWidget(typeBox, 0, 3);
    grid->addWidget(addressLabel, 1, 0);
    grid->addWidget(addressEdit, 1, 1);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(foundBox);
    searchRow->addWidget(searchButton);
    grid->addLayout(searchRow, 1, 2, 1, 2);
    grid->addWidget(userLabel, 2, 0);
    grid->addWidget(userEdit, 2, 1);
    grid->addWidget(passwordLabel, 2, 2);
    grid->addWidget(passwordEdit, 2, 3);
    grid->addWidget(mediaPortLabel, 3, 0);
    grid->addWidget(mediaPortBox, 3, 1);
    grid->addWidget(onvifPortLabel, 3, 2);
    grid->addWidget(onvifPortBox, 3, 3);
    grid->addWidget(channelLabel, 4, 0);
    grid->addWidget(channelBox, 4, 1);
    grid->addWidget(transportLabel, 4, 2);
    grid->addWidget(transportBox, 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* streams = new QGridLayout(protocolGroup);
    streams->addWidget(mainStreamLabel, 0, 0);
    streams->addWidget(mainStreamEdit, 0, 1);
    streams->addWidget(subStreamLabel, 1, 0);
    streams->addWidget(subStreamEdit, 1, 1);
    auto* streamRow = new QHBoxLayout;
    streamRow->setContentsMargins(16, 0, 16, 0);
    streamRow->addWidget(protocolGroup);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 6, 16, 12);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    contentLayout()->addLayout(grid);
    contentLayout()->addLayout(streamRow);
    contentLayout()->addStretch();
    contentLayout()->addLayout(buttons);

    retranslateUi();
    enableFieldsFor(VideoSource::ONVIF);
    builtFrom = currentInputs();

    connect(okButton, &QPushButton::clicked, this, &VideoSourceConfigDialog::onOkClick);
    connect(cancelButton, &QPushButton::clicked, this, &VideoSourceConfigDialog::onCancleClick);
    connect(searchButton, &QPushButton::clicked, this, &VideoSourceConfigDialog::onFindDevices);
    connect(typeBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &VideoSourceConfigDialog::onDeviceTypeChange);
    connect(foundBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &VideoSourceConfigDialog::onDeviceChange);
    connect(addressEdit, &QLineEdit::editingFinished, this, &VideoSourceConfigDialog::onDeviceIpEditFinish);
    connect(userEdit, &QLineEdit::editingFinished, this, &VideoSourceConfigDialog::onUserNameEditFinish);
    connect(passwordEdit, &QLineEdit::editingFinished, this, &VideoSourceConfigDialog::onUserPassWordEditFinish);
    connect(channelBox, QOverload<int>::of(&QSpinBox::valueChanged), this, &VideoSourceConfigDialog::onChanneChange);
    connect(mediaPortBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &VideoSourceConfigDialog::onMediaPortChange);
    // A widget the operator changes gives up the value it held for him.
    connect(onvifPortBox, QOverload<int>::of(&QSpinBox::valueChanged), this, [this] { forgetHeld(onvifPortBox); });
    connect(transportBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this] { forgetHeld(transportBox); });
}

VideoSourceConfigDialog::~VideoSourceConfigDialog()
{
    // Hiding the dialog on its way out takes the focus from a field, which reports its editing
    // finished to a dialog whose members are gone.
    for (QLineEdit* edit : {addressEdit, userEdit, passwordEdit})
        edit->disconnect(this);
}

void VideoSourceConfigDialog::retranslateUi()
{
    setTitle(tr("视频源配置"));
    nameLabel->setText(tr("设备名称:"));
    typeLabel->setText(tr("设备类型:"));
    addressLabel->setText(tr("设备IP:"));
    searchButton->setText(tr("搜索"));
    userLabel->setText(tr("用户名:"));
    passwordLabel->setText(tr("密码:"));
    mediaPortLabel->setText(tr("媒体端口:"));
    onvifPortLabel->setText(tr("ONVIF端口:"));
    channelLabel->setText(tr("通道号:"));
    transportLabel->setText(tr("通讯方式:"));
    protocolGroup->setTitle(tr("设备协议"));
    mainStreamLabel->setText(tr("主码流"));
    subStreamLabel->setText(tr("子码流"));
    okButton->setText(tr("确认"));
    cancelButton->setText(tr("取消"));
}

void VideoSourceConfigDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    FBaseDialog::changeEvent(event);
}

void VideoSourceConfigDialog::setDevice(DeviceToHisilicon* cardLink)
{
    link = cardLink;
}

void VideoSourceConfigDialog::setOwnRange(QSpinBox* spin, int minimum, int maximum)
{
    ownRanges.insert(spin, {minimum, maximum});
    spin->setRange(minimum, maximum);
}

void VideoSourceConfigDialog::hold(QWidget* widget, int value)
{
    if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        // Shown as stored, so that what the field shows is what is saved, also when the operator
        // sets the field to the value it shows.
        const QPair<int, int> own = ownRanges.value(spin);
        spin->setRange(qMin(own.first, value), qMax(own.second, value));
        spin->setValue(value);
        return;
    }
    held.insert(widget, value);
    if (auto* box = qobject_cast<QComboBox*>(widget))
        box->setCurrentIndex(value >= 0 && value < box->count() ? value : -1);
}

int VideoSourceConfigDialog::valueOf(QWidget* widget) const
{
    if (held.contains(widget))
        return held.value(widget);
    if (auto* spin = qobject_cast<QSpinBox*>(widget))
        return spin->value();
    return static_cast<QComboBox*>(widget)->currentIndex();
}

void VideoSourceConfigDialog::forgetHeld(QWidget* widget)
{
    if (loading > 0)
        return;
    held.remove(widget);
    // A value beyond the field's own range stays only until the operator changes the field.
    if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        const QPair<int, int> own = ownRanges.value(spin);
        spin->setRange(own.first, own.second);
    }
}

int VideoSourceConfigDialog::currentType() const
{
    return valueOf(typeBox);
}

void VideoSourceConfigDialog::setChannel(int channel)
{
    Loading load(this);
    hold(channelBox, channel);
    source.set_channel(channel);
}

void VideoSourceConfigDialog::setVideoSource(const VideoSource& video)
{
    Loading load(this);
    nameEdit->setText(videoSourceText(video.name()));
    hold(typeBox, video.type());
    enableFieldsFor(video.type());
    addressEdit->setText(QString::fromStdString(video.addr()));
    hold(channelBox, video.channel());
    userEdit->setText(QString::fromStdString(video.username()));
    passwordEdit->setText(QString::fromStdString(video.password()));
    hold(mediaPortBox, video.mediaport());
    hold(onvifPortBox, video.onvifport());
    hold(transportBox, video.sockettype());
    mainStreamEdit->setText(QString::fromStdString(video.mainstreamuri()));
    subStreamEdit->setText(QString::fromStdString(video.substreamuri()));
    source = video;
}

VideoSource VideoSourceConfigDialog::videoSource() const
{
    return source;
}

StreamUrlInputs VideoSourceConfigDialog::currentInputs() const
{
    StreamUrlInputs inputs;
    inputs.type = currentType();
    inputs.address = addressEdit->text().trimmed();
    inputs.channel = valueOf(channelBox);
    inputs.user = userEdit->text().trimmed();
    inputs.password = passwordEdit->text().trimmed();
    inputs.mediaPort = valueOf(mediaPortBox);
    return inputs;
}

void VideoSourceConfigDialog::updateStreamUris()
{
    if (loading > 0)
        return;
    const StreamUrlInputs inputs = currentInputs();
    // Leaving a field without changing it must not overwrite URLs typed or stored by hand.
    if (inputs == builtFrom)
        return;
    builtFrom = inputs;
    const QString mainTemplate = StreamUrlTemplates::mainTemplate(inputs.type);
    const QString subTemplate = StreamUrlTemplates::subTemplate(inputs.type);
    if (!mainTemplate.isEmpty())
        mainStreamEdit->setText(StreamUrlTemplates::fill(mainTemplate, inputs));
    if (!subTemplate.isEmpty())
        subStreamEdit->setText(StreamUrlTemplates::fill(subTemplate, inputs));
}

void VideoSourceConfigDialog::enableFieldsFor(int type)
{
    const bool onvif = type == VideoSource::ONVIF;
    const bool rtsp = type == VideoSource::RTSP;
    for (QWidget* searchField : {static_cast<QWidget*>(searchButton), static_cast<QWidget*>(foundBox),
                                 static_cast<QWidget*>(onvifPortBox)})
        searchField->setEnabled(onvif || rtsp);
    mainStreamEdit->setEnabled(!onvif);
    subStreamEdit->setEnabled(!onvif);
    transportBox->setEnabled(onvif || rtsp);
}

void VideoSourceConfigDialog::onDeviceTypeChange(int type)
{
    forgetHeld(typeBox);
    enableFieldsFor(currentType());
    Q_UNUSED(type);
    updateStreamUris();
}

void VideoSourceConfigDialog::onDeviceIpEditFinish()
{
    updateStreamUris();
}

void VideoSourceConfigDialog::onUserNameEditFinish()
{
    updateStreamUris();
}

void VideoSourceConfigDialog::onUserPassWordEditFinish()
{
    updateStreamUris();
}

void VideoSourceConfigDialog::onChanneChange(int)
{
    forgetHeld(channelBox);
    updateStreamUris();
}

void VideoSourceConfigDialog::onMediaPortChange(int)
{
    forgetHeld(mediaPortBox);
    updateStreamUris();
}

void VideoSourceConfigDialog::onFindDevices()
{
    setEnabled(false);
    QByteArray reply;
    const IpLinkResult result = IpCardCall::request(link, 3, 2, QByteArray(), &reply);
    if (result == IpLinkCode::Success) {
        VideoSourceGroup found;
        if (IpCardCall::parse(reply, &found)) {
            foundBox->clear();
            for (const VideoSource& camera : found.videosources()) {
                if (camera.type() != VideoSource::ONVIF)
                    continue;
                // The first entry added becomes current, which loads it.
                foundBox->addItem(QStringLiteral("%1:%2").arg(QString::fromStdString(camera.addr())).arg(camera.onvifport()),
                                  videoSourceBytes(camera));
            }
        } else {
            showErrorMessage(PanelTexts::unreadableReply());
        }
    } else {
        showErrorMessage(PanelTexts::failure(result));
    }
    setEnabled(true);
}

void VideoSourceConfigDialog::onDeviceChange(int index)
{
    if (index < 0 || index >= foundBox->count())
        return;
    const VideoSource camera = videoSourceFromBytes(foundBox->itemData(index).toByteArray());
    Loading load(this);
    nameEdit->setText(videoSourceText(camera.name()));
    addressEdit->setText(QString::fromStdString(camera.addr()));
    hold(mediaPortBox, camera.mediaport());
    hold(onvifPortBox, camera.onvifport());
    userEdit->setText(QString::fromStdString(camera.username()));
    passwordEdit->setText(QString::fromStdString(camera.password()));
    mainStreamEdit->setText(QString::fromStdString(camera.mainstreamuri()));
    subStreamEdit->setText(QString::fromStdString(camera.substreamuri()));
}

bool VideoSourceConfigDialog::refuse(const QString& text, QWidget* field)
{
    showErrorMessage(text);
    field->setFocus();
    return false;
}

void VideoSourceConfigDialog::onOkClick()
{
    const QString name = nameEdit->text().trimmed();
    const VideoSourceNameRule::Verdict verdict = VideoSourceNameRule::check(name);
    if (verdict == VideoSourceNameRule::Verdict::Empty) {
        refuse(tr("设备名称不能为空！"), nameEdit);
        return;
    }
    if (!isIpAddress(addressEdit->text().trimmed())) {
        refuse(tr("IP 地址无效！"), addressEdit);
        return;
    }
    if (verdict == VideoSourceNameRule::Verdict::TooLong) {
        refuse(tr("设备名称超出最大长度！"), nameEdit);
        return;
    }
    // These are stored as single-byte text: anything beyond ASCII would make the stored source
    // unreadable, taking its ports, channel and URLs with it.
    for (QLineEdit* field : {addressEdit, userEdit, passwordEdit, mainStreamEdit, subStreamEdit}) {
        if (!isAscii(field->text().trimmed())) {
            refuse(tr("此项只能输入英文字母、数字和符号！"), field);
            return;
        }
    }

    source.set_type(VideoSource::E_DeviceType(currentType()));
    source.set_channel(valueOf(channelBox));
    source.set_name(name.toStdString());
    source.set_addr(latin1(addressEdit));
    source.set_username(latin1(userEdit));
    source.set_password(latin1(passwordEdit));
    source.set_mediaport(valueOf(mediaPortBox));
    source.set_onvifport(valueOf(onvifPortBox));
    source.set_mainstreamuri(latin1(mainStreamEdit));
    source.set_substreamuri(latin1(subStreamEdit));
    source.set_sockettype(valueOf(transportBox));
    accept();
}

void VideoSourceConfigDialog::onCancleClick()
{
    reject();
}
