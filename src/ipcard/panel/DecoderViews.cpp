#include "ipcard/panel/DecoderViews.h"

#include "ipcard/panel/VideoSourceListWalk.h"

using namespace com::kiv::protobuf;

namespace DecoderViews {

bool isKnown(int viewId)
{
    return viewId >= 0 && viewId < Count;
}

Shape shapeOf(int viewId)
{
    static const Shape shapes[Count] = {{1, 1}, {1, 2}, {2, 2}, {3, 3}};
    return isKnown(viewId) ? shapes[viewId] : Shape();
}

QVector<QByteArray> paneContents(const Decoder& view, Shape shape)
{
    QVector<QByteArray> contents(shape.panes());
    for (int i = 0; i < contents.size() && i < view.videosources_size(); ++i)
        contents[i] = videoSourceBytes(view.videosources(i));
    return contents;
}

Decoder viewToSave(int output, int viewId, const QVector<QByteArray>& paneBytes)
{
    Decoder view;
    view.set_output(output);
    view.set_viewid(viewId);
    for (const QByteArray& bytes : paneBytes)
        *view.add_videosources() = videoSourceFromBytes(bytes);
    return view;
}

} // namespace DecoderViews

namespace DecoderPtz {

int commandFor(int padArea)
{
    // Pad areas 1-9: centre, then counter-clockwise from up.
    static const int commands[] = {109, 101, 105, 103, 106, 102, 108, 104, 107};
    return padArea >= 1 && padArea <= 9 ? commands[padArea - 1] : padArea;
}

} // namespace DecoderPtz
