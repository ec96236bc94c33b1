#include "dialogs/CMeetingMessageBoxDialog.h"

#include "framework/FBasePushButton.h"
#include "platform/EventLoopDelay.h"

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
    close();
}

int CMeetingMessageBoxDialog::run(const QString &text, int kind)
{
    auto *box = new CMeetingMessageBoxDialog;
    box->setMessage(QString(), text, kind);
    // The code that asked waits for the answer: nothing it uses may go meanwhile.
    const PumpingWaits::Scope waiting;
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
