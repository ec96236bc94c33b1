#include "framework/SaveFileDialog.h"

#include <QFileDialog>

QString saveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                     const QString& defaultSuffix)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
