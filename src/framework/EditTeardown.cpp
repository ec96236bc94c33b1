#include "framework/EditTeardown.h"

#include <QAbstractSpinBox>
#include <QLineEdit>

void disconnectFinishedEdits(QWidget* root)
{
    const auto lineEdits = root->findChildren<QLineEdit*>();
    for (QLineEdit* edit : lineEdits)
        QObject::disconnect(edit, &QLineEdit::editingFinished, nullptr, nullptr);
    const auto spinBoxes = root->findChildren<QAbstractSpinBox*>();
    for (QAbstractSpinBox* box : spinBoxes)
        QObject::disconnect(box, &QAbstractSpinBox::editingFinished, nullptr, nullptr);
}
