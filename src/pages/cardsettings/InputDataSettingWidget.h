#pragma once

#include "pages/cardsettings/InputCardSettings.h"
#include "pages/cardsettings/OptionBox.h"

#include <QList>
#include <QMetaObject>
#include <QWidget>

class HisliconConfigDialog;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QStackedWidget;

// The settings panel of the input card settings page: the selected input's name, signal format,
// audio, subtitle (on/off, text, position, colour) and the four picture levels. Each change goes
// to the matrix at once and is stored in the port's record once the link took it. Filling the
// controls from a port sends nothing: the controls are wired to their slots only in between.
class InputDataSettingWidget : public QWidget
{
    Q_OBJECT
public:
    explicit InputDataSettingWidget(QWidget* parent = nullptr);
    ~InputDataSettingWidget() override;

public slots:
    void onSelectCardIndexChanged(int index);
    void saveCardName();
    void saveChroma(int value);
    void saveContrast(int value);
    void saveBrightness(int value);
    void saveSharpness(int value);
    void saveAudio(int index);
    void saveSubtitleSwitch(int index);
    void saveSubTitleContent();
    void saveSubtitlePosition(int index);
    void saveSubtitleColor(int index);
    void saveFormat(int index);

private:
    void setupUi();
    void retranslateUi();
    QLabel* addRow(int row, const char* labelName, QWidget* control);
    void loadCardSettings();
    // An IP input card: its configuration panel, connected to the card (or its open link reused).
    void showIpCard();
    void connectControls();
    void disconnectControls();
    void saveLevel(InputCardSettings::Level level, int value);
    // The option boxes with their groups and record keys.
    OptionBox::Binding audio() const;
    OptionBox::Binding subtitleSwitch() const;
    OptionBox::Binding subtitlePosition() const;
    OptionBox::Binding subtitleColor() const;
    OptionBox::Binding format() const;

    InputCardSettings settings;
    int shownLevels[InputCardSettings::LevelCount] = {};
    int namePort = -1;   // the port whose name the name field shows
    QList<QMetaObject::Connection> wiring;

    QStackedWidget* stackedWidget = nullptr;
    HisliconConfigDialog* ipPanel = nullptr;
    QList<QLabel*> labels;
    QLineEdit* lineEdit = nullptr;
    QComboBox* comboBox_5 = nullptr;
    QComboBox* comboBox = nullptr;
    QComboBox* comboBox_2 = nullptr;
    QLineEdit* lineEdit_3 = nullptr;
    QComboBox* comboBox_3 = nullptr;
    QComboBox* comboBox_4 = nullptr;
    QSlider* sliders[InputCardSettings::LevelCount] = {};
};
