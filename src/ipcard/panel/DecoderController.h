#pragma once

// What the decoder page asks of its card and what it has read back: the video sources, the four
// views of the addressed decoder output and the view it shows. No widgets here.
//
// One request at a time: the link runs events while it waits for a reply, so a click may reach
// the page meanwhile; a request asked for then is refused with Busy and nothing is sent.

#include "ipcard/link/DeviceToHisilicon.h"

#include "DecoderProto.pb.h"
#include "VideoSourceProto.pb.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVector>

class DecoderController : public QObject
{
    Q_OBJECT
public:
    // Results of the controller's own, beside the link's codes and the card's result bytes.
    static constexpr IpLinkResult Busy = -1;         // another request waits; nothing sent
    static constexpr IpLinkResult Unreadable = -2;   // the reply body is not the message it should be
    static constexpr IpLinkResult NotRead = -3;      // the output's views were not read; nothing sent

    explicit DecoderController(QObject* parent = nullptr);

    // Null (or a link deleted since): every request fails as not connected.
    void setLink(DeviceToHisilicon* cardLink) { link = cardLink; }
    DeviceToHisilicon* device() const { return link; }
    // The lowest bit names the decoder output addressed. Another output forgets the views and
    // the applied view read for the one before; true then.
    bool setCardIndex(int index);
    int output() const { return cardIndex & 1; }
    // Whether the views of the output addressed were read: saving and applying need them.
    bool hasViews() const { return !viewList.isEmpty(); }

    bool isBusy() const { return busy; }

    struct Refresh
    {
        IpLinkResult sources = IpLinkCode::NotConnected;   // reading the video sources
        com::kiv::protobuf::VideoSourceGroupManage sourceList;   // empty unless sources succeeded
        bool viewsRead = false;                            // the output's views were read and kept
        IpLinkResult applied = IpLinkCode::NotConnected;   // reading the applied view
    };
    // Reads the video sources, then the four views and the applied view of the output. When the
    // card does not answer the sources' request nothing else is asked and nothing changes; a list
    // that does not parse is left out and the views are read all the same. A view that cannot be
    // read is taken as empty; the views are replaced even when the applied view is not read.
    Refresh refresh();

    // Forgets the views and the applied view read so far (another card or output is coming).
    void forget();

    // Entry n is view n as last read or saved; empty before the first refresh.
    const QList<com::kiv::protobuf::Decoder>& views() const { return viewList; }
    const com::kiv::protobuf::DecoderApply& appliedView() const { return applied; }

    // Saves the panes' sources (serialised, one per pane) as view viewId of the output; on
    // success the view's entry becomes what was sent. NotRead before the views were read.
    IpLinkResult save(int viewId, const QVector<QByteArray>& paneSources);
    // Makes the output show view viewId. NotRead before the views were read.
    IpLinkResult apply(int viewId);
    // One pan-tilt command for the camera of a serialised source.
    IpLinkResult sendPtz(int command, const QByteArray& source);

signals:
    void busyChanged(bool busy);

private:
    class BusyScope;

    IpLinkResult request(int msgClass, int msgCommand, const QByteArray& body, QByteArray* reply,
                         int bodyFormat = 0);
    com::kiv::protobuf::Decoder readView(int decoderOutput, int viewId);

    QPointer<DeviceToHisilicon> link;
    int cardIndex = 0;
    bool busy = false;
    QList<com::kiv::protobuf::Decoder> viewList;
    com::kiv::protobuf::DecoderApply applied;
};
