#pragma once

// The four wall layouts (views) of a decoder output and what their panes hold. No widgets here:
// the page places its panes from these answers and builds the view it saves with them.

#include "DecoderProto.pb.h"

#include <QByteArray>
#include <QVector>

namespace DecoderViews {

constexpr int Count = 4;        // ids 0-3: one, two, four, nine pictures
constexpr int PaneCount = 16;   // panes the page owns; at most 9 are placed
constexpr int MaxPanes = 9;

struct Shape
{
    int rows = 0;
    int cols = 0;
    int panes() const { return rows * cols; }
};

bool isKnown(int viewId);
// The layout of a view; 0 x 0 for an id outside 0-3.
Shape shapeOf(int viewId);

// What the first shape.panes() panes show for view: the serialised source i for pane i, an empty
// value for the panes the view has no source for. Sources beyond the panes are left out.
QVector<QByteArray> paneContents(const com::kiv::protobuf::Decoder& view, Shape shape);

// The view as saved on the card: one source per pane in pane order, an empty pane (or one whose
// bytes do not parse) as a source with every field at its default.
com::kiv::protobuf::Decoder viewToSave(int output, int viewId, const QVector<QByteArray>& paneBytes);

} // namespace DecoderViews

// Pan-tilt commands (class 2) of the pad's areas.
namespace DecoderPtz {

constexpr int Stop = 100;
// The command of a pad area (fCloudButton::ButtonType 1-9); any other value is sent as itself.
int commandFor(int padArea);

} // namespace DecoderPtz
