#include "framework/FInputDialog.h"

#include "framework/FBasePushButton.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
QHBoxLayout *paddedRow(QWidget *widget)
{
    auto *row = new QHBoxLayout;
    row->addSpacing(10);
    row->addWidget(widget, 1);
    row->addSpacing(10);
    return row;
}
}

FInputDialog::FInputDialog(QWidget *parent)
    : FBaseDialog(parent),
      okButton(new FBasePushButton(tr("确定"), this)),
      cancelButton(new FBasePushButton(tr("取消"), this)),
      label(new QLabel(tr("请输入："), this)),
      lineEdit(new QLineEdit(this))
{
    presetSize = QSize(240, 160);
    setTitle(tr("请输入"));

    auto *buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(10);
    buttonRow->setContentsMargins(0, 0, 10, 10);
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);

    contentLayout()->addLayout(paddedRow(label));
    contentLayout()->addLayout(paddedRow(lineEdit));
    contentLayout()->addStretch();
    contentLayout()->addLayout(buttonRow);

    lineEdit->setFocus();
    textChanged(lineEdit->text());

    connect(lineEdit, &QLineEdit::textChanged, this, &FInputDialog::textChanged);
    connect(cancelButton, &QPushButton::clicked, this, &FInputDialog::animationClose);
    connect(okButton, &QPushButton::clicked, this, &FInputDialog::onOkButtonClicked);
}

void FInputDialog::setLabelText(const QString &text)
{
    label->setText(text);
}

void FInputDialog::setText(const QString &text)
{
    lineEdit->setText(text);
}

QString FInputDialog::getText() const
{
    return lineEdit->text().trimmed();
}

void FInputDialog::textChanged(const QString &text)
{
    okButton->setDisabled(text.trimmed().isEmpty());
}

void FInputDialog::animationClose()
{
    if (sender() == okButton)
        accepted = true;
    else if (sender() == cancelButton)
        accepted = false;
    FBaseDialog::animationClose();
}

void FInputDialog::onOkButtonClicked()
{
    animationClose();
}

void FInputDialog::closeEvent(QCloseEvent *event)
{
    if (accepted)
        accept();
    else
        reject();
    event->accept();
}
