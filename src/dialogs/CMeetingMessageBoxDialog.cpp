#include "dialogs/CMeetingMessageBoxDialog.h"

#include "framework/FBasePushButton.h"
#include "framework/ModalMessageBox.h"

#include <QVBoxLayout>
#include <QVariant>

CMeetingMessageBoxDialog::CMeetingMessageBoxDialog(QWidget *parent)
    : CMeetingBaseDialog(parent)
{
    setProperty("Attribute", QStringLiteral("PaneDialog"));
    presetSize = QSize(480, 240);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);

    parts = FMessageBoxParts::build(this, contentLayout());
    connect(parts.okButton, &QPushButton::clicked, this, &CMeetingMessageBoxDialog::OnOk);
    connect(parts.cancelButton, &QPushButton::clicked, this, &CMeetingBaseDialog::animationClose);
}

void CMeetingMessageBoxDialog::setMessage(const QString &title, const QString &text, int kind)
{
    parts.showMessage(this, title, text, kind);
}

void CMeetingMessageBoxDialog::OnOk()
{
    done(QDialog::Accepted);
    if (onAccepted)
        onAccepted();
    close();
}

int CMeetingMessageBoxDialog::run(const QString &text, int kind, std::function<void()> accepted)
{
    auto *box = new CMeetingMessageBoxDialog;
    box->setMessage(QString(), text, kind);
    box->onAccepted = std::move(accepted);
    return execMessageBox(box, text);
}

void CMeetingMessageBoxDialog::showError(const QString &text)
{
    run(text, FMessageBoxParts::Error);
}

void CMeetingMessageBoxDialog::showInformation(const QString &text)
{
    run(text, FMessageBoxParts::Information);
}

int CMeetingMessageBoxDialog::showQuestion(const QString &text, std::function<void()> accepted)
{
    return run(text, FMessageBoxParts::Question, std::move(accepted));
}
