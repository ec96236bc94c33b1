#pragma once

#include "pages/cardsettings/OptionBox.h"
#include "pages/cardsettings/OutputCardSettings.h"

#include <QList>
#include <QMetaObject>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

// The settings panel of the output card settings page: name, resolution, audio and signal format
// of the selected output and steps of its brightness, contrast and saturation; for a preview
// output card a page of its own with its name, network address, the resolutions of its two
// streams and the stream the previews show.
class OutDataSettingWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OutDataSettingWidget(QWidget* parent = nullptr);
    ~OutDataSettingWidget() override;

public slots:
    void onSelectCardIndexChanged(int index);
    void saveCardName();
    void saveResolution(int index);
    void saveAudio(int index);
    void saveFormat(int index);
    void onPushButtonReduceBrightness_clicked();
    void onPushButtonAddBrightness_clicked();
    void onPushButtonReduceContrast_clicked();
    void onPushButtonAddContrast_clicked();
    void onPushButtonReduceSaturation_clicked();
    void onPushButtonAddSaturation_clicked();
    void onChangedIpClick();
    void onChangedNameClick();
    void saveMainResolution(int index);
    void saveSubResolution(int index);
    void onChangedStream(bool checked);

private:
    void setupUi();
    void retranslateUi();
    QWidget* buildPreviewPage();
    void loadCardSettings();
    void loadPreviewCard();
    void loadOutputCard(int type);
    // The option boxes with their groups and record keys.
    OptionBox::Binding resolution() const;
    OptionBox::Binding audio() const;
    OptionBox::Binding format() const;
    OptionBox::Binding mainStream() const;
    OptionBox::Binding subStream() const;
    void connectControls();
    void disconnectControls();
    void runStep(const char* configKey);

    OutputCardSettings settings;
    QList<QMetaObject::Connection> wiring;
    // The ports whose names the two name fields show (-1: none yet).
    int namePort = -1;
    int previewNamePort = -1;

    QStackedWidget* stackedWidget = nullptr;
    QList<QLabel*> labels;
    QLineEdit* lineEdit = nullptr;
    QComboBox* comboBox = nullptr;
    QComboBox* comboBox_2 = nullptr;
    QComboBox* comboBox_3 = nullptr;
    QList<QPushButton*> stepButtons;

    QList<QLabel*> previewLabels;
    QLineEdit* previewName = nullptr;
    QLineEdit* previewIp = nullptr;
    QPushButton* previewIpButton = nullptr;
    QComboBox* mainStreamBox = nullptr;
    QComboBox* subStreamBox = nullptr;
    QRadioButton* mainStreamRadio = nullptr;
    QRadioButton* subStreamRadio = nullptr;
};
