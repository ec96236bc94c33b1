#include "framework/FMessageBoxParts.h"

#include "framework/FBasePushButton.h"
#include "framework/FFramelessDialog.h"

#include <QBoxLayout>
#include <QLabel>

FMessageBoxParts FMessageBoxParts::build(QWidget *dialog, QBoxLayout *layout)
{
    FMessageBoxParts parts;
    parts.iconLabel = new QLabel(dialog);
    parts.iconLabel->setFixedSize(35, 35);
    parts.textLabel = new QLabel(dialog);
    parts.textLabel->setObjectName(QStringLiteral("MessageText"));
    // Long messages wrap instead of being cut off at the box's fixed width.
    parts.textLabel->setWordWrap(true);
    parts.textLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    parts.okButton = new FBasePushButton(tr("确定"), dialog);
    parts.cancelButton = new FBasePushButton(tr("取消"), dialog);

    auto *iconRow = new QHBoxLayout;
    iconRow->addSpacing(10);
    iconRow->addWidget(parts.iconLabel);
    iconRow->addSpacing(10);
    iconRow->addWidget(parts.textLabel);
    iconRow->addSpacing(10);
    iconRow->addStretch();

    auto *buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(10);
    buttonRow->setContentsMargins(0, 0, 10, 0);
    buttonRow->addStretch();
    buttonRow->addWidget(parts.okButton);
    buttonRow->addWidget(parts.cancelButton);

    layout->addSpacing(10);
    layout->addLayout(iconRow);
    layout->addStretch();
    layout->addLayout(buttonRow);
    layout->addSpacing(10);
    return parts;
}

bool FMessageBoxParts::showKind(int kind) const
{
    const char *image = nullptr;
    switch (kind) {
    case Information: image = "info.png"; break;
    case Question: image = "question.png"; break;
    case Error: image = "error.png"; break;
    default:
        cancelButton->setVisible(true);
        return false;
    }
    iconLabel->setStyleSheet(QStringLiteral("border-image: url(skin/images/%1);").arg(QLatin1String(image)));
    cancelButton->setVisible(kind == Question);
    return true;
}

void FMessageBoxParts::showMessage(FFramelessDialog *box, const QString &title, const QString &text, int kind) const
{
    showKind(kind);
    QString shown = title;
    if (shown.isEmpty()) {
        switch (kind) {
        case Information: shown = tr("提示"); break;
        case Question: shown = tr("询问"); break;
        case Error: shown = tr("错误"); break;
        default: break;
        }
    }
    box->setTitle(shown);
    textLabel->setText(text);
}
