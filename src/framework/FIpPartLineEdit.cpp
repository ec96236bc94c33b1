#include "framework/FIpPartLineEdit.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

FIpPartLineEdit::FIpPartLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setProperty("Type", QStringLiteral("IpPartLineEdit"));
    setMaxLength(3);
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    // QIntValidator(0, 255) would let "256" stand as intermediate input; this takes 0..255 only
    // (with the leading zeros the address check allows).
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("25[0-5]|2[0-4]\\d|[01]?\\d?\\d")), this));
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
    // After the field before jumped here on its own, the "." the operator types next belongs to
    // that field: it must not skip this one. So "." moves on only from an octet typed into.
    if (event->key() == Qt::Key_Period && !text().isEmpty() && selectedText() != text())
        focusNext();
    QLineEdit::keyPressEvent(event);
}

void FIpPartLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    selectAll();
}
