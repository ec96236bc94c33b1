#include "app/LinkNotices.h"

#include "core/CCHelper.h"
#include "dialogs/CMeetingMessageBoxDialog.h"

#include <QCoreApplication>

void LinkNotices::install()
{
    static LinkNotices* notices = nullptr;
    if (notices)
        return;
    notices = new LinkNotices(QCoreApplication::instance());
    // Direct: the box is modal and sendData() returns false only once it was closed.
    connect(CCHelper::instance(), &CCHelper::notConnected, notices, &LinkNotices::showNotConnected,
            Qt::DirectConnection);
}

void LinkNotices::showNotConnected()
{
    CMeetingMessageBoxDialog::showError(tr("未连接"));
}
