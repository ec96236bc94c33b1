#include "framework/FMessageBoxDialog.h"

#include "framework/FBasePushButton.h"

#include <QVBoxLayout>

FMessageBoxDialog::FMessageBoxDialog(QWidget *parent)
    : FBaseDialog(parent)
{
    setObjectName(QStringLiteral("FMessageBoxDialog"));
    presetSize = QSize(303, 143);
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);

    parts = FMessageBoxParts::build(this, contentLayout());
    connect(parts.okButton, &QPushButton::clicked, this, &FMessageBoxDialog::OnOk);
    connect(parts.cancelButton, &QPushButton::clicked, this, &FBaseDialog::animationClose);
}

void FMessageBoxDialog::setMessage(const QString &title, const QString &text, int kind)
{
    parts.showMessage(this, title, text, kind);
}

void FMessageBoxDialog::OnOk()
{
    done(QDialog::Accepted);
    close();
}
