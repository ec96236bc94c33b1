#pragma once

// The configuration panel of one IP input card: connects and logs in to the card's network
// processor, then offers its network settings, video sources, decoder, log and maintenance
// (restart, factory reset, firmware upgrade, version). It also reads and changes the card's
// address through the matrix, and keeps it in the card's pair of port records.

#include "ipcard/panel/HisliconConfigForm.h"
#include "ipcard/panel/LogPaging.h"
#include "ipcard/panel/PanelOperation.h"
#include "ipcard/panel/VideoSourceTree.h"

#include "NetworkConfigProto.pb.h"
#include "VideoSourceProto.pb.h"

#include <QList>
#include <QMetaType>
#include <QPointer>
#include <QString>
#include <QWidget>

class DeviceToHisilicon;
class DecoderConfigWidget;
class QTreeWidgetItem;

Q_DECLARE_METATYPE(com::kiv::protobuf::VideoSourceGroupManage)

class HisliconConfigDialog : public QWidget
{
    Q_OBJECT
public:
    static constexpr quint16 CardPort = 4002;

    explicit HisliconConfigDialog(const QString& ip, QWidget* parent = nullptr);

    // Binds the open link of the address, if there is one, and shows the address.
    void refreshConnectState(const QString& ip);
    // 0 the connection page, 1 the tabs.
    void setCurrentPage(int page);
    // The 0-based port index of the card's record; the panel's addresses go to it and its partner.
    void setCardIndex(int index);
    int currentCardIndex() const { return cardIndex; }
    QString cardAddress() const { return ip; }
    DeviceToHisilicon* boundLink() const { return link; }
    DecoderConfigWidget* decoderPage() const { return decoderWidget; }

    bool LoginDevice();
    bool queryNetworkConfig();
    bool queryVersionInfo();
    void showLogPage();

    com::kiv::protobuf::VideoSourceGroupManage buildVideoSourceGroupManage() const;
    void fillVideoSourceTree(const com::kiv::protobuf::VideoSourceGroupManage& list);

signals:
    void HisliconIsConnect(QString ip);
    void frameModeChanged(QString mode);
    void refreshIpVideoSourceSignal(com::kiv::protobuf::VideoSourceGroupManage list, QString ip);
    void signalHisliconDisconnect(QString ip);

public slots:
    bool onClickConnect(bool checked = false);
    bool onClickConfig(bool checked = false);
    void onNetWorkUpdate();
    void onNetWorkSave();
    void onAddGroup();
    void onAddVideoSource();
    void onDelVideoSource();
    void onPushVideoSourceConfig();
    void onPopVideoSourceConfig();
    void onVideoManageUpdate();
    void onVideoManageSave();
    void onSelectUpdateFile();
    void onUpdate();
    void onResDevice();
    void onFactoryDevice();
    void onFindLog();
    void onChangeIp();
    void onSwicthUpPage();
    void onSwicthDownPage();
    void onHisliconTcpDisconnect(QString ip);
    void openEdit(QTreeWidgetItem* item, int column);
    void onClickUpdateIp();

protected:
    void changeEvent(QEvent* event) override;

private:
    static HisliconConfigForm buildForm(QWidget* panel, QWidget* decoderPage);
    void connectButtons();
    void bindLink(DeviceToHisilicon* newLink);
    DeviceToHisilicon* makeLink();
    void showState(bool connected);
    // Empties every tab and locks their saves until their own queries succeed on the new link:
    // no tab may show, or save back, another card's data.
    void clearTabs();
    void setNetworkQueried(bool queried);
    // What the last read of the card's video-source list gave. Saving needs Read, or Unreadable
    // (the card answered with a list that does not parse): saving then replaces it, after a question.
    enum class SourceList { NotRead, Read, Unreadable };
    void setSourceList(SourceList state);
    void clearLog();
    void presetLogRange();
    void refreshFromCard();
    // The video-source tab, then the decoder page, read from the card.
    void refreshSourcesAndDecoder();
    // NotRead when the card did not answer (the state stays as it was); Unreadable has been shown.
    SourceList reloadVideoSources();
    void saveVideoSources();
    void uploadFirmware();
    // Closes the link after the card was told to restart or to move: back to the connection page.
    void dropLink();

    QString ip;
    int cardIndex = 0;
    DeviceToHisilicon* link = nullptr;
    DecoderConfigWidget* decoderWidget;
    LogPaging logPaging;
    QList<QPointer<DeviceToHisilicon>> ownLinks;

    HisliconConfigForm ui;
    VideoSourceTree sources;
    PanelOperation::Gate gate;
    // The network settings as the card reported them: the save sends back what the panel does
    // not let the operator change (MAC and ports).
    com::kiv::protobuf::NetworkConfig queriedNetwork;
    // A tab saves only what its own query read from the bound card.
    bool networkQueried = false;
    SourceList sourceList = SourceList::NotRead;
    bool connected = false;
};
