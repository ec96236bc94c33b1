#include "pages/cardsettings/OutDataSettingWidget.h"

#include "core/CardInfo.h"
#include "core/OptionGroup.h"
#include "core/PublicClass.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/EditTeardown.h"
#include "pages/cardsettings/CardForm.h"
#include "pages/cardsettings/MOutputCardSetting.h"
#include "pages/cardsettings/OptionBox.h"
#include "pagekit/WaitMaskGuard.h"
#include "platform/TextHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

const char* const kRowLabels[] = {
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "板卡名称："),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "分辨率："),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "音频："),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "信号格式："),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "亮度："),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "对比度："),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "饱和度："),
};
constexpr int kRowCount = int(sizeof(kRowLabels) / sizeof(kRowLabels[0]));
constexpr int kFirstStepRow = 4;
enum Row { AudioRow = 2, FormatRow = 3 };

const char* const kPreviewLabels[] = {
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "卡名称:"),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "IP地址:"),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "主码流:"),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "子码流:"),
    QT_TRANSLATE_NOOP("OutDataSettingWidget", "预览码流:"),
};

// The address a preview card shows when none was reported.
const QString kDefaultPreviewIp = QStringLiteral("192.168.0.178");

// The step buttons in object-name order, with their command keys.
struct StepButton
{
    const char* name;
    const char* text;
    const char* configKey;
};
constexpr StepButton kSteps[] = {
    {"pushButton", "+", "AddBrightness"},   {"pushButton_2", "-", "ReduceBrightness"},
    {"pushButton_3", "+", "AddContrast"},   {"pushButton_4", "-", "ReduceContrast"},
    {"pushButton_5", "+", "AddSaturation"}, {"pushButton_6", "-", "ReduceSaturation"},
};

// Outputs whose brightness, contrast and saturation cannot be stepped.
bool stepsAllowed(int type)
{
    switch (type) {
    case PublicClass::eCARD_TYPE_SDI_O:
    case PublicClass::eCARD_TYPE_HDMI_SDI_2SDI_O:
    case PublicClass::eCARD_TYPE_4K_HDMI_O:
    case PublicClass::eCARD_TYPE_4K_Fiber_O:
    case PublicClass::eCARD_TYPE_4K_HDBT_O:
        return false;
    default:
        return true;
    }
}

QComboBox* comboNamed(const char* name)
{
    auto* box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit* editNamed(const char* name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

OutDataSettingWidget::OutDataSettingWidget(QWidget* parent)
    : QWidget(parent)
{
    setupUi();
    retranslateUi();

    // In the order of the buttons' object names.
    void (OutDataSettingWidget::*const handlers[])() = {
        &OutDataSettingWidget::onPushButtonAddBrightness_clicked,
        &OutDataSettingWidget::onPushButtonReduceBrightness_clicked,
        &OutDataSettingWidget::onPushButtonAddContrast_clicked,
        &OutDataSettingWidget::onPushButtonReduceContrast_clicked,
        &OutDataSettingWidget::onPushButtonAddSaturation_clicked,
        &OutDataSettingWidget::onPushButtonReduceSaturation_clicked,
    };
    for (int i = 0; i < stepButtons.size(); ++i)
        connect(stepButtons.at(i), &QPushButton::clicked, this, handlers[i]);
    connect(previewIpButton, &QPushButton::clicked, this, &OutDataSettingWidget::onChangedIpClick);
    connect(previewName, &QLineEdit::editingFinished, this, &OutDataSettingWidget::onChangedNameClick);
    connect(mainStreamRadio, &QRadioButton::clicked, this, &OutDataSettingWidget::onChangedStream);
    connect(subStreamRadio, &QRadioButton::clicked, this, &OutDataSettingWidget::onChangedStream);
}

OutDataSettingWidget::~OutDataSettingWidget()
{
    disconnectFinishedEdits(this);
}

void OutDataSettingWidget::setupUi()
{
    const CardForm form = CardForm::build(this, QStringLiteral("OutDataSettingWidget"), 533, 545);
    stackedWidget = form.stackedWidget;
    lineEdit = editNamed("lineEdit");
    comboBox = comboNamed("comboBox");
    comboBox_2 = comboNamed("comboBox_2");
    comboBox_3 = comboNamed("comboBox_3");
    QWidget* const wide[] = {lineEdit, comboBox, comboBox_2, comboBox_3};
    for (int row = 0; row < kRowCount; ++row) {
        labels << form.addLabel(row);
        if (row < kFirstStepRow) {
            form.gridLayout->addWidget(wide[row], row, 1, 1, 2);
            continue;
        }
        for (int column = 1; column <= 2; ++column) {
            const StepButton& step = kSteps[(row - kFirstStepRow) * 2 + column - 1];
            auto* button = new QPushButton(QLatin1String(step.text));
            button->setObjectName(QLatin1String(step.name));
            form.gridLayout->addWidget(button, row, column);
            stepButtons << button;
        }
    }
    stackedWidget->addWidget(buildPreviewPage());
    stackedWidget->setCurrentIndex(1);
}

QWidget* OutDataSettingWidget::buildPreviewPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page_2"));
    previewName = editNamed("previewNameEdit");
    previewIp = editNamed("previewIpEdit");
    previewIp->setFixedWidth(160);
    previewIpButton = new QPushButton;
    previewIpButton->setObjectName(QStringLiteral("previewIpButton"));
    mainStreamBox = comboNamed("mainStreamBox");
    subStreamBox = comboNamed("subStreamBox");
    // As wide as the address field: the skin's font needs more than 150 px for a resolution.
    for (QComboBox* box : {mainStreamBox, subStreamBox})
        box->setFixedWidth(160);
    // Both on the page: they exclude each other.
    mainStreamRadio = new QRadioButton(page);
    mainStreamRadio->setObjectName(QStringLiteral("mainStreamRadio"));
    subStreamRadio = new QRadioButton(page);
    subStreamRadio->setObjectName(QStringLiteral("subStreamRadio"));

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(15);
    grid->setHorizontalSpacing(5);
    grid->setContentsMargins(0, 0, 0, 0);
    QWidget* const fields[] = {previewName, previewIp, mainStreamBox, subStreamBox, mainStreamRadio};
    for (int row = 0; row < 5; ++row) {
        auto* label = new QLabel;
        grid->addWidget(label, row, 0);
        previewLabels << label;
        grid->addWidget(fields[row], row, 1);
    }
    grid->addWidget(subStreamRadio, 4, 2);
    grid->addWidget(previewIpButton, 1, 2);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 39, 9, 9);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

void OutDataSettingWidget::retranslateUi()
{
    setWindowTitle(tr("OutDataSettingWidget"));
    for (int row = 0; row < kRowCount; ++row)
        labels.at(row)->setText(tr(kRowLabels[row]));
    for (int row = 0; row < previewLabels.size(); ++row)
        previewLabels.at(row)->setText(tr(kPreviewLabels[row]));
    previewIpButton->setText(tr("修改"));
    mainStreamRadio->setText(tr("主码流"));
    subStreamRadio->setText(tr("子码流"));
}

void OutDataSettingWidget::onSelectCardIndexChanged(int index)
{
    settings.select(index);
    loadCardSettings();
}

void OutDataSettingWidget::loadCardSettings()
{
    if (!settings.hasValidType())
        return;
    // First of all: showing the other page moves the focus, and a name field would report its
    // text as finished.
    disconnectControls();
    const int type = settings.cardType();
    if (type == PublicClass::eCARD_TYPE_Preview_O)
        loadPreviewCard();
    else
        loadOutputCard(type);
}

void OutDataSettingWidget::loadPreviewCard()
{
    stackedWidget->setCurrentIndex(1);
    previewName->setText(settings.displayName());
    previewNamePort = settings.port();
    previewIp->setText(settings.record().value(CardKey::PreviewIp).toString(kDefaultPreviewIp));
    // Checking does not emit clicked(): nothing is stored.
    (settings.storedInt(QStringLiteral("previewType"), 0) == 0 ? mainStreamRadio : subStreamRadio)->setChecked(true);
    for (const OptionBox::Binding& option : {mainStream(), subStream()}) {
        OptionBox::fill(option.box, settings.readGroup(QLatin1String(option.group)));
        OptionBox::showStored(settings, option);
    }
    connectControls();
}

void OutDataSettingWidget::loadOutputCard(int type)
{
    stackedWidget->setCurrentIndex(0);
    for (QPushButton* button : qAsConst(stepButtons))
        button->setEnabled(stepsAllowed(type));
    OptionBox::fill(comboBox, settings.readGroup(QStringLiteral("RESOLUTION")));
    OptionBox::fillOrHide(comboBox_2, labels.at(AudioRow), settings.readGroup(QStringLiteral("AUDIO")));
    OptionBox::fillOrHide(comboBox_3, labels.at(FormatRow), settings.readGroup(QStringLiteral("FORMAT")));
    lineEdit->setText(settings.displayName());
    namePort = settings.port();
    for (const OptionBox::Binding& option : {resolution(), audio(), format()})
        OptionBox::showStored(settings, option);
    connectControls();
}

OptionBox::Binding OutDataSettingWidget::resolution() const
{
    return {comboBox, "RESOLUTION", "resolution", 0, "1920x1080P 60"};
}

OptionBox::Binding OutDataSettingWidget::audio() const
{
    return {comboBox_2, "AUDIO", "audio", 0};
}

OptionBox::Binding OutDataSettingWidget::format() const
{
    return {comboBox_3, "FORMAT", "format", 0};
}

OptionBox::Binding OutDataSettingWidget::mainStream() const
{
    return {mainStreamBox, "MainRESOLUTION", "mainResolution", 0, "1920x1080P 30"};
}

OptionBox::Binding OutDataSettingWidget::subStream() const
{
    return {subStreamBox, "SubRESOLUTION", "subResolution", 0, "1280x720 P 30"};
}

void OutDataSettingWidget::connectControls()
{
    disconnectControls();
    const auto changed = QOverload<int>::of(&QComboBox::currentIndexChanged);
    wiring << connect(lineEdit, &QLineEdit::editingFinished, this, &OutDataSettingWidget::saveCardName)
           << connect(comboBox, changed, this, &OutDataSettingWidget::saveResolution)
           << connect(comboBox_2, changed, this, &OutDataSettingWidget::saveAudio)
           << connect(comboBox_3, changed, this, &OutDataSettingWidget::saveFormat)
           << connect(mainStreamBox, changed, this, &OutDataSettingWidget::saveMainResolution)
           << connect(subStreamBox, changed, this, &OutDataSettingWidget::saveSubResolution);
}

void OutDataSettingWidget::disconnectControls()
{
    for (const QMetaObject::Connection& connection : qAsConst(wiring))
        disconnect(connection);
    wiring.clear();
}

void OutDataSettingWidget::saveCardName()
{
    if (settings.rename(namePort, lineEdit->text()))
        MOutputCardSetting::instance()->initConfig(true);
}

void OutDataSettingWidget::saveResolution(int index)
{
    OptionBox::choose(settings, resolution(), index);
}

void OutDataSettingWidget::saveAudio(int index)
{
    OptionBox::choose(settings, audio(), index);
}

void OutDataSettingWidget::saveFormat(int index)
{
    OptionBox::choose(settings, format(), index);
}

void OutDataSettingWidget::saveMainResolution(int index)
{
    OptionBox::choose(settings, mainStream(), index);
}

void OutDataSettingWidget::saveSubResolution(int index)
{
    OptionBox::choose(settings, subStream(), index);
}

void OutDataSettingWidget::runStep(const char* configKey)
{
    auto* button = qobject_cast<QPushButton*>(sender());
    if (button)
        button->setEnabled(false);
    settings.step(QLatin1String(configKey));
    // The port shown now decides: another one may have been loaded during the wait.
    if (button)
        button->setEnabled(!settings.hasValidType() || stepsAllowed(settings.cardType()));
}

void OutDataSettingWidget::onPushButtonReduceBrightness_clicked()
{
    runStep("ReduceBrightness");
}

void OutDataSettingWidget::onPushButtonAddBrightness_clicked()
{
    runStep("AddBrightness");
}

void OutDataSettingWidget::onPushButtonReduceContrast_clicked()
{
    runStep("ReduceContrast");
}

void OutDataSettingWidget::onPushButtonAddContrast_clicked()
{
    runStep("AddContrast");
}

void OutDataSettingWidget::onPushButtonReduceSaturation_clicked()
{
    runStep("ReduceSaturation");
}

void OutDataSettingWidget::onPushButtonAddSaturation_clicked()
{
    runStep("AddSaturation");
}

void OutDataSettingWidget::onChangedIpClick()
{
    if (!settings.isPreviewCard())
        return;
    const QString address = previewIp->text();
    if (!isIpAddress(address)) {
        CMeetingMessageBoxDialog::showError(tr("IP地址无效"));
        return;
    }
    const WaitMaskGuard busy;
    if (settings.changePreviewAddress(address) == OutputCardSettings::AddressChange::Changed)
        CMeetingMessageBoxDialog::showInformation(tr("预览卡IP修改成功，重启软件生效!"));
    else
        CMeetingMessageBoxDialog::showError(tr("修改失败!"));
}

void OutDataSettingWidget::onChangedNameClick()
{
    settings.rename(previewNamePort, previewName->text());
}

void OutDataSettingWidget::onChangedStream(bool)
{
    settings.setPreviewStream(mainStreamRadio->isChecked() ? 0 : 1);
}
