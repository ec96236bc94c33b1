#include "dialogs/CMeetingMessageBoxDialog.h"

#include "framework/FBasePushButton.h"
#include "framework/FMessageBoxParts.h"
#include "framework/FTitleBar.h"

#include <QLabel>
#include <QVariant>
#include <QVBoxLayout>

CMeetingMessageBoxDialog::CMeetingMessageBoxDialog(QWidget *parent)
    : CMeetingBaseDialog(parent)
{
    setProperty("Type", QStringLiteral("MeetingBaseDialog"));
    setProperty("Attribute", QStringLiteral("PaneDialog"));
    presetSize = QSize(480, 240);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    titleBar->setLogoButtonVisible(false);

    const FMessageBoxParts parts = FMessageBoxParts::build(this, contentLayout(), tr("确定"), tr("取消"));
    okButton = parts.okButton;
    cancelButton = parts.cancelButton;
    iconLabel = parts.iconLabel;
    textLabel = parts.textLabel;

    connect(okButton, &QPushButton::clicked, this, &CMeetingMessageBoxDialog::OnOk);
    connect(cancelButton, &QPushButton::clicked, this, &CMeetingBaseDialog::animationClose);
}

void CMeetingMessageBoxDialog::setMessage(const QString &title, const QString &text, int kind)
{
    const FMessageBoxParts parts{okButton, cancelButton, iconLabel, textLabel};
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
    setTitle(shown);
    textLabel->setText(text);
}

void CMeetingMessageBoxDialog::OnOk()
{
    done(QDialog::Accepted);
    close();
}

int CMeetingMessageBoxDialog::run(const QString &text, int kind)
{
    auto *box = new CMeetingMessageBoxDialog;
    box->setMessage(QString(), text, kind);
    return box->exec();
}

void CMeetingMessageBoxDialog::showError(const QString &text)
{
    run(text, FMessageBoxParts::Error);
}

void CMeetingMessageBoxDialog::showInformation(const QString &text)
{
    run(text, FMessageBoxParts::Information);
}

int CMeetingMessageBoxDialog::showQuestion(const QString &text)
{
    return run(text, FMessageBoxParts::Question);
}
