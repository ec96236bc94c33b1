#include "pagekit/WaitedChoice.h"

#include <QComboBox>
#include <QPoint>
#include <QPointer>
#include <QSignalBlocker>
#include <QVariant>

namespace {
// Dynamic property of a box while its choice waits: QPoint(port, entry index).
const char kWaiting[] = "waitedChoice";
}

namespace WaitedChoice {

Outcome send(QComboBox* box, int port, int index, const std::function<bool()>& send)
{
    const QVariant waiting = box->property(kWaiting);
    if (waiting.isValid() && waiting.toPoint().x() == port) {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(waiting.toPoint().y());
        return Outcome::HeldBack;
    }
    const QPointer<QComboBox> guard(box);
    box->setProperty(kWaiting, QPoint(port, index));
    const bool taken = send();
    // Back to the mark of an earlier choice for another port that still waits (none, mostly).
    if (guard)
        guard->setProperty(kWaiting, waiting);
    return taken ? Outcome::Taken : Outcome::Refused;
}

} // namespace WaitedChoice
