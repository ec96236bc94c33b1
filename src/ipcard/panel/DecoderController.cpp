#include "ipcard/panel/DecoderController.h"

#include "ipcard/link/KivMsgHead.h"
#include "ipcard/panel/DecoderViews.h"
#include "ipcard/panel/IpCardCall.h"

#include <QDebug>

using namespace com::kiv::protobuf;

namespace {
constexpr int ReadSources = 3;   // query class
constexpr int ReadView = 4;
constexpr int ReadApplied = 8;
constexpr int SaveView = 4;      // set class
constexpr int ApplyView = 8;
} // namespace

// Marks the controller busy for one operation, which may be several requests.
class DecoderController::BusyScope
{
public:
    explicit BusyScope(DecoderController& owner)
        : owner(owner)
    {
        owner.busy = true;
        emit owner.busyChanged(true);
    }
    ~BusyScope()
    {
        owner.busy = false;
        emit owner.busyChanged(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    DecoderController& owner;
};

DecoderController::DecoderController(QObject* parent)
    : QObject(parent)
{
}

IpLinkResult DecoderController::request(int msgClass, int msgCommand, const QByteArray& body,
                                        QByteArray* reply, int bodyFormat)
{
    return IpCardCall::request(link, quint8(msgClass), quint8(msgCommand), body, reply, quint8(bodyFormat));
}

bool DecoderController::setCardIndex(int index)
{
    const bool otherOutput = (index & 1) != output();
    cardIndex = index;
    if (otherOutput)
        forget();
    return otherOutput;
}

DecoderController::Refresh DecoderController::refresh()
{
    Refresh outcome;
    if (busy) {
        outcome.sources = outcome.applied = Busy;
        return outcome;
    }
    BusyScope scope(*this);
    // The index may change while a reply is awaited: every request of this refresh addresses the
    // output it started for, and what it read is kept only while that output is still addressed.
    const int readFor = output();
    QByteArray body;
    outcome.sources = request(KivMsgClass::Query, ReadSources, QByteArray(), &body);
    if (outcome.sources == IpLinkCode::Success && !IpCardCall::parse(body, &outcome.sourceList))
        outcome.sources = Unreadable;
    if (outcome.sources != IpLinkCode::Success)
        outcome.sourceList.Clear();
    // A list that does not parse (an older editor may have stored it) still came from the card:
    // the views stay the operator's to read and change.
    if (outcome.sources != IpLinkCode::Success && outcome.sources != Unreadable) {
        outcome.applied = outcome.sources;
        return outcome;
    }

    QList<Decoder> read;
    for (int viewId = 0; viewId < DecoderViews::Count; ++viewId)
        read.append(readView(readFor, viewId));
    outcome.applied = NotRead;
    if (output() == readFor) {
        viewList = read;
        body.clear();
        const QByteArray channel(1, char(readFor));
        outcome.applied = request(KivMsgClass::Query, ReadApplied, channel, &body, KivBodyFormatRaw);
        DecoderApply reading;
        if (outcome.applied == IpLinkCode::Success && !IpCardCall::parse(body, &reading))
            outcome.applied = Unreadable;
        if (outcome.applied == IpLinkCode::Success && output() == readFor)
            applied = reading;
    }
    // Another output addressed meanwhile has forgotten them again.
    outcome.viewsRead = hasViews();
    return outcome;
}

Decoder DecoderController::readView(int decoderOutput, int viewId)
{
    QByteArray body;
    QByteArray which;
    which.append(char(decoderOutput)).append(char(viewId));
    Decoder view;
    const IpLinkResult result = request(KivMsgClass::Query, ReadView, which, &body, KivBodyFormatRaw);
    if (result != IpLinkCode::Success || !IpCardCall::parse(body, &view)) {
        qDebug() << "default";
        view.Clear();
    }
    return view;
}

void DecoderController::forget()
{
    viewList.clear();
    applied.Clear();
}

IpLinkResult DecoderController::save(int viewId, const QVector<QByteArray>& paneSources)
{
    if (busy)
        return Busy;
    if (!hasViews())
        return NotRead;
    BusyScope scope(*this);
    const Decoder view = DecoderViews::viewToSave(output(), viewId, paneSources);
    const IpLinkResult result = request(KivMsgClass::Set, SaveView, IpCardCall::bytesOf(view), nullptr);
    if (result == IpLinkCode::Success && viewId >= 0 && viewId < viewList.size())
        viewList[viewId] = view;
    return result;
}

IpLinkResult DecoderController::apply(int viewId)
{
    if (busy)
        return Busy;
    if (!hasViews())
        return NotRead;
    BusyScope scope(*this);
    // The output is always the one this page addresses, never a value an earlier reading left.
    DecoderApply request;
    request.set_output(output());
    request.set_viewid(viewId);
    const IpLinkResult result = this->request(KivMsgClass::Set, ApplyView, IpCardCall::bytesOf(request), nullptr);
    if (result == IpLinkCode::Success)
        applied = request;
    return result;
}

IpLinkResult DecoderController::sendPtz(int command, const QByteArray& source)
{
    if (busy)
        return Busy;
    BusyScope scope(*this);
    return request(KivMsgClass::Action, command, source, nullptr);
}
