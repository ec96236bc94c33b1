#pragma once

// Creates or changes one video source: name, maker protocol, address, login, ports, channel,
// transport and the stream URLs, which follow the maker's templates. For ONVIF cameras the IP
// card can search its network; a camera found there fills the fields.

#include "framework/FBaseDialog.h"
#include "ipcard/panel/StreamUrlTemplates.h"

#include "VideoSourceProto.pb.h"

#include <QHash>

class DeviceToHisilicon;
class FBasePushButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

class VideoSourceConfigDialog : public FBaseDialog
{
    Q_OBJECT
public:
    // The channel field's range is 0 to this.
    static constexpr int MaxChannel = 99;

    explicit VideoSourceConfigDialog(QWidget* parent = nullptr);
    ~VideoSourceConfigDialog() override;

    // Fills the fields from source and keeps the whole message: fields the dialog does not show
    // (12-14), and values its fields cannot show, go back unchanged unless the operator edits them.
    void setVideoSource(const com::kiv::protobuf::VideoSource& source);
    com::kiv::protobuf::VideoSource videoSource() const;

    // The card link the device search uses.
    void setDevice(DeviceToHisilicon* link);
    // The channel number of a new source, chosen by the opener (the field is never editable).
    void setChannel(int channel);

    // Rebuilds the stream URLs from the type's templates when an input they use has changed
    // since they were last built or loaded.
    void updateStreamUris();

public slots:
    void onOkClick();
    void onCancleClick();
    void onFindDevices();
    void onDeviceTypeChange(int type);
    void onDeviceChange(int index);
    void onDeviceIpEditFinish();
    void onUserNameEditFinish();
    void onUserPassWordEditFinish();
    void onChanneChange(int channel);
    void onMediaPortChange(int port);

protected:
    void changeEvent(QEvent* event) override;

private:
    class Loading;

    void retranslateUi();
    void enableFieldsFor(int type);
    // A value loaded into a field that is kept until the operator changes the field. A spin box
    // shows it as it is, beyond its own range if need be; a list that has no entry for it shows
    // none.
    void hold(QWidget* widget, int value);
    void setOwnRange(QSpinBox* spin, int minimum, int maximum);
    int valueOf(QWidget* widget) const;
    void forgetHeld(QWidget* widget);
    int currentType() const;
    StreamUrlInputs currentInputs() const;
    bool refuse(const QString& text, QWidget* field);

    com::kiv::protobuf::VideoSource source;
    DeviceToHisilicon* link = nullptr;

    QLabel* nameLabel;
    QLineEdit* nameEdit;
    QLabel* typeLabel;
    QComboBox* typeBox;
    QLabel* addressLabel;
    QLineEdit* addressEdit;
    QComboBox* foundBox;
    FBasePushButton* searchButton;
    QLabel* userLabel;
    QLineEdit* userEdit;
    QLabel* passwordLabel;
    QLineEdit* passwordEdit;
    QLabel* mediaPortLabel;
    QSpinBox* mediaPortBox;
    QLabel* onvifPortLabel;
    QSpinBox* onvifPortBox;
    QLabel* channelLabel;
    QSpinBox* channelBox;
    QLabel* transportLabel;
    QComboBox* transportBox;
    QGroupBox* protocolGroup;
    QLabel* mainStreamLabel;
    QLineEdit* mainStreamEdit;
    QLabel* subStreamLabel;
    QLineEdit* subStreamEdit;
    FBasePushButton* okButton;
    FBasePushButton* cancelButton;

    QHash<QWidget*, int> held;
    QHash<QSpinBox*, QPair<int, int>> ownRanges;
    int loading = 0;
    StreamUrlInputs builtFrom;
};
