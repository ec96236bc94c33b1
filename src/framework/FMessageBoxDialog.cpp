#include "framework/FMessageBoxDialog.h"

#include "framework/FBasePushButton.h"
#include "framework/FMessageBoxParts.h"
#include "framework/FTitleBar.h"

#include <QLabel>
#include <QVBoxLayout>

FMessageBoxDialog::FMessageBoxDialog(QWidget *parent)
    : FBaseDialog(parent)
{
    setObjectName(QStringLiteral("FMessageBoxDialog"));
    presetSize = QSize(303, 143);
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);

    const FMessageBoxParts parts = FMessageBoxParts::build(this, contentLayout(), tr("确定"), tr("取消"));
    okButton = parts.okButton;
    cancelButton = parts.cancelButton;
    iconLabel = parts.iconLabel;
    textLabel = parts.textLabel;

    connect(okButton, &QPushButton::clicked, this, &FMessageBoxDialog::OnOk);
    connect(cancelButton, &QPushButton::clicked, this, &FBaseDialog::animationClose);
}

void FMessageBoxDialog::setMessage(const QString &title, const QString &text, int kind)
{
    FMessageBoxParts parts{okButton, cancelButton, iconLabel, textLabel};
    parts.showKind(kind);
    QString shown = title;
    if (shown.isEmpty()) {
        switch (kind) {
        case FMessageBoxParts::Information: shown = tr("提示"); break;
        case FMessageBoxParts::Question: shown = tr("询问"); break;
        case FMessageBoxParts::Error: shown = tr("错误"); break;
        default: break;
        }
    }
    titleBar->setTitleText(shown, nullptr);
    textLabel->setText(text);
}

void FMessageBoxDialog::OnOk()
{
    done(QDialog::Accepted);
    close();
}
