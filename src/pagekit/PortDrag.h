#pragma once

#include <QString>

class QDragEnterEvent;
class QDropEvent;
class QMimeData;
class QObject;

// Ports dragged between the lists, the preview tiles and the output tiles: the decimal text of a
// 0-based port index under the item-view MIME format (not an item-model stream).
namespace PortDrag {

QString mimeType();

// New mime data carrying the port index (owned by the caller, or by the QDrag it is given to).
QMimeData* mimeFor(int portIndex);

bool carriesPort(const QMimeData* data);

// The port the payload names: 0 to 255 in plain decimal; -1 for anything else, so that another
// view's item-model stream under the same format never reads as port 0.
int portFrom(const QMimeData* data);

// The drop-target rule of every port tile: a drag carrying a port is accepted as a link.
void acceptEnter(QDragEnterEvent* event);
// The port a drop carries, the drop then accepted as a move; -1 (and the drop ignored) when it
// carries none.
int takeDrop(QDropEvent* event);
// Drags the port from source (as a link) and returns when the drag has ended.
void startDrag(QObject* source, int portIndex);

} // namespace PortDrag
