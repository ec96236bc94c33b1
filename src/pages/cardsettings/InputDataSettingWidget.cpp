#include "pages/cardsettings/InputDataSettingWidget.h"

#include "core/CardInfo.h"
#include "core/OptionGroup.h"
#include "core/PublicClass.h"
#include "framework/EditTeardown.h"
#include "framework/MessageShortcuts.h"
#include "ipcard/link/DeviceToHisilicon.h"
#include "ipcard/link/OpenIpCardLinks.h"
#include "ipcard/panel/HisliconConfigDialog.h"
#include "pagekit/WaitMaskGuard.h"
#include "pages/cardsettings/CardForm.h"
#include "pages/cardsettings/MInputCardSetting.h"
#include "pages/cardsettings/OptionBox.h"
#include "pages/cardsettings/SubtitleTextValidator.h"
#include "platform/Reachability.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Label texts of the form's rows, in row order.
const char* const kRowLabels[] = {
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "板卡名称："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "信号格式："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "音   频："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "字   幕："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "内   容："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "位   置："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "颜   色："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "色   度："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "亮   度："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "对比度："),
    QT_TRANSLATE_NOOP("InputDataSettingWidget", "锐   度："),
};
constexpr int kRowCount = int(sizeof(kRowLabels) / sizeof(kRowLabels[0]));

enum Row { NameRow, FormatRow, AudioRow };

// The address an IP input card is taken to have when none was reported, and how long it may take
// to answer a ping.
const QString kDefaultIpCardAddress = QStringLiteral("192.168.0.176");
constexpr int kIpCardPingMs = 6000;

QComboBox* comboNamed(const char* name)
{
    auto* box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

InputDataSettingWidget::InputDataSettingWidget(QWidget* parent)
    : QWidget(parent)
{
    setupUi();
    retranslateUi();
    setFixedWidth(300);
}

InputDataSettingWidget::~InputDataSettingWidget()
{
    disconnectFinishedEdits(this);
}

void InputDataSettingWidget::setupUi()
{
    const CardForm form = CardForm::build(this, QStringLiteral("InputDataSettingWidget"), 396, 584);
    stackedWidget = form.stackedWidget;
    lineEdit = new QLineEdit;
    lineEdit->setObjectName(QStringLiteral("lineEdit"));
    comboBox_5 = comboNamed("comboBox_5");
    comboBox = comboNamed("comboBox");
    comboBox_2 = comboNamed("comboBox_2");
    lineEdit_3 = new QLineEdit;
    lineEdit_3->setObjectName(QStringLiteral("lineEdit_3"));
    lineEdit_3->setValidator(new SubtitleTextValidator(lineEdit_3));
    comboBox_3 = comboNamed("comboBox_3");
    comboBox_4 = comboNamed("comboBox_4");
    static const char* const sliderNames[] = {"horizontalSlider", "horizontalSlider_2", "horizontalSlider_3",
                                              "horizontalSlider_4"};
    for (int i = 0; i < InputCardSettings::LevelCount; ++i) {
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setObjectName(QLatin1String(sliderNames[i]));
        slider->setRange(0, 99);
        slider->setTracking(false);
        sliders[i] = slider;
    }

    QWidget* const controls[kRowCount] = {lineEdit,   comboBox_5, comboBox,   comboBox_2, lineEdit_3, comboBox_3,
                                          comboBox_4, sliders[0], sliders[1], sliders[2], sliders[3]};
    for (int row = 0; row < kRowCount; ++row) {
        labels << form.addLabel(row);
        form.gridLayout->addWidget(controls[row], row, 2);
    }

    auto* ipPage = new QWidget;
    ipPage->setObjectName(QStringLiteral("page_2"));
    auto* ipLayout = new QVBoxLayout(ipPage);
    ipLayout->setContentsMargins(0, 0, 0, 0);
    ipPanel = new HisliconConfigDialog(QString(), this);
    ipLayout->addWidget(ipPanel);
    stackedWidget->addWidget(ipPage);
    stackedWidget->setCurrentIndex(0);
}

void InputDataSettingWidget::retranslateUi()
{
    setWindowTitle(tr("InputDataSettingWidget"));
    for (int row = 0; row < kRowCount; ++row)
        labels.at(row)->setText(tr(kRowLabels[row]));
    comboBox_2->clear();
    comboBox_2->addItems({tr("关"), tr("开")});
    comboBox_3->clear();
    comboBox_3->addItems({tr("左上角"), tr("右上角"), tr("左下角"), tr("右下角")});
    comboBox_4->clear();
    comboBox_4->addItems({tr("白色"), tr("红色"), tr("绿色"), tr("蓝色"), tr("黑色")});
}

void InputDataSettingWidget::onSelectCardIndexChanged(int index)
{
    settings.select(index);
    loadCardSettings();
}

void InputDataSettingWidget::loadCardSettings()
{
    if (!settings.hasValidType())
        return;
    // First of all: showing another page or width moves the focus, and the name field would
    // report its text as finished.
    disconnectControls();
    const int type = settings.cardType();
    if (type == PublicClass::eCARD_TYPE_IP_I) {
        showIpCard();
        return;
    }

    comboBox->setEnabled(type != PublicClass::eCARD_TYPE_4K_Fiber_I);
    setFixedWidth(300);
    stackedWidget->setCurrentIndex(0);

    OptionBox::fillOrHide(comboBox, labels.at(AudioRow), settings.readGroup(QStringLiteral("AUDIO")));
    OptionBox::fill(comboBox_2, settings.readGroup(QStringLiteral("SUBTITLE")));
    OptionBox::fill(comboBox_3, settings.readGroup(QStringLiteral("SUBTITLE_POS")));
    OptionBox::fill(comboBox_4, settings.readGroup(QStringLiteral("SUBTITLE_COLOR")));
    OptionBox::fillOrHide(comboBox_5, labels.at(FormatRow), settings.readGroup(QStringLiteral("FORMAT")));

    lineEdit->setText(settings.displayName());
    namePort = settings.port();
    for (int i = 0; i < InputCardSettings::LevelCount; ++i) {
        const auto level = InputCardSettings::Level(i);
        shownLevels[i] = settings.levelShown(level);
        sliders[i]->setValue(shownLevels[i]);
    }
    for (const OptionBox::Binding& option : {audio(), subtitleSwitch(), subtitlePosition(), subtitleColor(), format()})
        OptionBox::showStored(settings, option);
    lineEdit_3->setText(settings.record().value(QStringLiteral("subtitle-content")).toString());

    const bool levelsOn = type != PublicClass::eCARD_TYPE_SDI_I && type != PublicClass::eCARD_TYPE_HDMI_SDI_2SDI_I;
    for (QSlider* slider : sliders)
        slider->setEnabled(levelsOn);
    connectControls();
}

void InputDataSettingWidget::showIpCard()
{
    setFixedWidth(770);
    ipPanel->setCurrentPage(0);
    ipPanel->setCardIndex(settings.port());   // the decoder page's too
    stackedWidget->setCurrentIndex(1);
    const QString ip = settings.record().value(CardKey::Ip).toString(kDefaultIpCardAddress);
    ipPanel->refreshConnectState(ip);
    const bool open = std::any_of(openIpCardLinks.cbegin(), openIpCardLinks.cend(),
                                  [&ip](const DeviceToHisilicon* link) { return link->ip() == ip; });

    const WaitMaskGuard busy;
    if (open)
        ipPanel->onClickConfig();
    else if (ping(ip, kIpCardPingMs))
        ipPanel->onClickConnect();
    else
        showErrorMessage(tr("无法访问设备，请确认IP!"));
}

void InputDataSettingWidget::connectControls()
{
    disconnectControls();
    using Box = QComboBox;
    const auto changed = QOverload<int>::of(&Box::currentIndexChanged);
    wiring << connect(lineEdit, &QLineEdit::editingFinished, this, &InputDataSettingWidget::saveCardName)
           << connect(comboBox_5, changed, this, &InputDataSettingWidget::saveFormat)
           << connect(comboBox, changed, this, &InputDataSettingWidget::saveAudio)
           << connect(comboBox_2, changed, this, &InputDataSettingWidget::saveSubtitleSwitch)
           << connect(lineEdit_3, &QLineEdit::editingFinished, this, &InputDataSettingWidget::saveSubTitleContent)
           << connect(comboBox_3, changed, this, &InputDataSettingWidget::saveSubtitlePosition)
           << connect(comboBox_4, changed, this, &InputDataSettingWidget::saveSubtitleColor)
           << connect(sliders[0], &QSlider::valueChanged, this, &InputDataSettingWidget::saveChroma)
           << connect(sliders[1], &QSlider::valueChanged, this, &InputDataSettingWidget::saveBrightness)
           << connect(sliders[2], &QSlider::valueChanged, this, &InputDataSettingWidget::saveContrast)
           << connect(sliders[3], &QSlider::valueChanged, this, &InputDataSettingWidget::saveSharpness);
}

void InputDataSettingWidget::disconnectControls()
{
    for (const QMetaObject::Connection& connection : qAsConst(wiring))
        disconnect(connection);
    wiring.clear();
}

void InputDataSettingWidget::saveCardName()
{
    if (settings.rename(namePort, lineEdit->text()))
        MInputCardSetting::instance()->initConfig(true);
}

OptionBox::Binding InputDataSettingWidget::audio() const
{
    return {comboBox, "AUDIO", "audio", 0};
}

OptionBox::Binding InputDataSettingWidget::subtitleSwitch() const
{
    return {comboBox_2, "SUBTITLE", "subtitle-switch", 0};
}

OptionBox::Binding InputDataSettingWidget::subtitlePosition() const
{
    return {comboBox_3, "SUBTITLE_POS", "subtitle-position", 1};
}

OptionBox::Binding InputDataSettingWidget::subtitleColor() const
{
    return {comboBox_4, "SUBTITLE_COLOR", "subtitle-color", 0};
}

OptionBox::Binding InputDataSettingWidget::format() const
{
    return {comboBox_5, "FORMAT", "format", 0};
}

void InputDataSettingWidget::saveAudio(int index)
{
    OptionBox::choose(settings, audio(), index);
}

void InputDataSettingWidget::saveSubtitleSwitch(int index)
{
    OptionBox::choose(settings, subtitleSwitch(), index);
}

void InputDataSettingWidget::saveSubtitlePosition(int index)
{
    OptionBox::choose(settings, subtitlePosition(), index);
}

void InputDataSettingWidget::saveSubtitleColor(int index)
{
    OptionBox::choose(settings, subtitleColor(), index);
}

void InputDataSettingWidget::saveFormat(int index)
{
    OptionBox::choose(settings, format(), index);
}

void InputDataSettingWidget::saveLevel(InputCardSettings::Level level, int value)
{
    const int port = settings.port();
    if (value == shownLevels[level])
        return;
    const bool sent = settings.setLevel(level, value, shownLevels[level]);
    if (settings.port() != port)
        return;   // another port was loaded while the command was on its way
    if (sent) {
        shownLevels[level] = value;
        return;
    }
    // Not sent: the slider goes back to what the port holds.
    const QSignalBlocker blocker(sliders[level]);
    sliders[level]->setValue(shownLevels[level]);
}

void InputDataSettingWidget::saveChroma(int value)
{
    saveLevel(InputCardSettings::Chroma, value);
}

void InputDataSettingWidget::saveContrast(int value)
{
    saveLevel(InputCardSettings::Contrast, value);
}

void InputDataSettingWidget::saveBrightness(int value)
{
    saveLevel(InputCardSettings::Brightness, value);
}

void InputDataSettingWidget::saveSharpness(int value)
{
    saveLevel(InputCardSettings::Sharpness, value);
}

void InputDataSettingWidget::saveSubTitleContent()
{
    settings.setSubtitle(lineEdit_3->text());
}
