#include "app/CConfirmDialog.h"

#include "app/DialogAnimations.h"
#include "framework/FBasePushButton.h"

#include <QCloseEvent>

CConfirmDialog::CConfirmDialog(QWidget* parent)
    : CMeetingBaseDialog(parent)
    , okButton(new FBasePushButton(tr("确定"), this))
    , cancelButton(new FBasePushButton(tr("取消"), this))
{
    okButton->setDefault(true);
    connect(cancelButton, &QPushButton::clicked, this, &CConfirmDialog::animationClose);
}

void CConfirmDialog::animationClose()
{
    if (sender() == cancelButton)
        accepted = false;
    else if (sender() == okButton)
        accepted = true;
    DialogAnimations::fadeOutAndClose(this, 400);
}

void CConfirmDialog::closeEvent(QCloseEvent* event)
{
    if (accepted)
        done(QDialog::Accepted);
    else
        reject();
    event->accept();
}

void CConfirmDialog::showEvent(QShowEvent* event)
{
    DialogAnimations::dropInCentred(this, presetSize);
    QDialog::showEvent(event);
}
