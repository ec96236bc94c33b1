#include "FIpPartLineEdit.h"

#include <QIntValidator>
#include <QKeyEvent>

FIpPartLineEdit::FIpPartLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setProperty("Type", QStringLiteral("IpPartLineEdit"));
    setMaxLength(3);
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setValidator(new QIntValidator(0, 255, this));
    connect(this, &QLineEdit::textEdited, this, &FIpPartLineEdit::text_edited);
}

void FIpPartLineEdit::focusNext()
{
    if (!nextTab)
        return;
    nextTab->setFocus(Qt::OtherFocusReason);
    nextTab->selectAll();
}

void FIpPartLineEdit::text_edited(const QString &text)
{
    QIntValidator octet(0, 255);
    QString probe = text;
    int pos = 0;
    const bool complete = octet.validate(probe, pos) == QValidator::Acceptable && text.size() == 3;
    // Two digits of 26 or more cannot take a third one without passing 255.
    const bool full = text.size() == 2 && text.toInt() >= 26;
    if (complete || full)
        focusNext();
}

void FIpPartLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Period)
        focusNext();
    QLineEdit::keyPressEvent(event);
}

void FIpPartLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    selectAll();
}
