#pragma once

// The decoder page of an IP decoder card: the card's video sources as a tree, a video wall in
// one of four views whose panes take sources dragged from the tree, a pan-tilt pad that steers
// the camera of the selected source, and the buttons that save the checked view's panes on
// the card, make the card show the checked view, and read everything back.

#include "framework/fCloudButton.h"
#include "ipcard/link/IpLinkResult.h"

#include "VideoSourceProto.pb.h"

#include <QByteArray>
#include <QList>
#include <QWidget>

class DecoderController;
class DecoderTree;
class DeviceToHisilicon;
class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QPushButton;
class QRadioButton;
class ScreenIpWidget;

class DecoderConfigWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DecoderConfigWidget(QWidget* parent = nullptr);

    // The link every request of the page goes through; null leaves the page unable to ask.
    void setDevice(DeviceToHisilicon* link);
    // The selected port's index; its lowest bit names the decoder output addressed. Another
    // output empties the wall and locks save and apply until its own views were read.
    void setCardIndex(int index);
    void fillVideoSourceTree(const com::kiv::protobuf::VideoSourceGroupManage& list);
    // Forgets what the page read from its card: sources, views, the checked view and the wall.
    void forgetCard();
    // Lays the wall out as the current rows x cols with the sources of view viewId as last read
    // or saved; nothing happens before the views were read.
    void showView(int viewId);
    // One pan-tilt command for the camera of the source selected in the tree (none for a group).
    void sendPtzCommand(int code);
    // Reads the sources, the views and the applied view again. A source list that does not parse
    // is reported unless the caller has just reported it for the same read of the card.
    void refresh(bool reportUnreadableSources);

public slots:
    void on_pushButtonOk_clicked();
    void on_pushButtonRefrush_clicked();
    void onScreenWidget_dropped();
    void onChangedView(int id, bool checked);
    void onCloudPress(fCloudButton::ButtonType type);
    void onCloudRelease(fCloudButton::ButtonType type);
    void onUseView();

protected:
    void changeEvent(QEvent* event) override;

private:
    // Where a pan-tilt gesture stands: its stop must follow every press that went out.
    enum class PtzGesture { Idle, Pressing, Pressed, StopPending };

    void setupUi();
    void retranslateUi();
    void updateButtons();
    // The last step of a refresh whose views were read: the view the card shows, checked.
    void showAppliedView(IpLinkResult readResult);
    // The views, the applied view, the checked view and the wall.
    void forgetViews();
    // Every pane empty, hidden and out of the wall's grid.
    void clearWall();
    void onBusyChanged(bool busy);
    void sendPendingStop();
    // False when the link was taken and nothing went out.
    bool sendPtzStop(bool reportFailure);
    void showFailure(IpLinkResult result);

    DecoderController* controller;
    DecoderTree* tree;
    QGroupBox* ptzGroup;
    fCloudButton* cloudButton;
    QGroupBox* viewGroup;
    QList<QRadioButton*> viewRadios;
    QButtonGroup* viewButtons;
    QPushButton* useBtn;
    QWidget* widgetVideoWall;
    QGridLayout* wallLayout;
    QPushButton* pushButtonOk;
    QPushButton* pushButtonRefrush;
    QList<ScreenIpWidget*> panes;
    int rows = 0;
    int cols = 0;
    PtzGesture ptzGesture = PtzGesture::Idle;
    QByteArray ptzSource;   // the source the gesture's press went out for
};
