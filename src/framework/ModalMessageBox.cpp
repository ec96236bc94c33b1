#include "framework/ModalMessageBox.h"

#include "platform/EventLoopDelay.h"

#include <QDebug>
#include <QDialog>
#include <QPointer>

int execMessageBox(QDialog* box, const QString& text)
{
    if (PumpingWaits::ended()) {
        qInfo().noquote() << QStringLiteral("leaving, box not shown:") << text;
        delete box;
        return QDialog::Rejected;
    }
    const QPointer<QDialog> open(box);
    const PumpingWaits::Scope waiting([open] {
        // A box answered already is hidden: its answer stands.
        if (open && open->isVisible())
            open->done(QDialog::Rejected);
    });
    return box->exec();
}
