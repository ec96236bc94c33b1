#include "framework/FIpAddrEdit.h"

#include "framework/FIpPartLineEdit.h"
#include "framework/Utilities.h"

#include <QHBoxLayout>
#include <QLabel>

FIpAddrEdit::FIpAddrEdit(QWidget *parent)
    : QWidget(parent),
      ip1(new FIpPartLineEdit(this)),
      ip2(new FIpPartLineEdit(this)),
      ip3(new FIpPartLineEdit(this)),
      ip4(new FIpPartLineEdit(this))
{
    setProperty("Type", QStringLiteral("IpAddrEdit"));
    // Lets the skin draw the editor's frame around all four fields.
    setAttribute(Qt::WA_StyledBackground);

    ip1->setNextTab(ip2);
    ip2->setNextTab(ip3);
    ip3->setNextTab(ip4);
    setTabOrder(ip1, ip2);
    setTabOrder(ip2, ip3);
    setTabOrder(ip3, ip4);

    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    FIpPartLineEdit *const parts[] = {ip1, ip2, ip3, ip4};
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            dots[i - 1] = new QLabel(QStringLiteral("."), this);
            layout->addWidget(dots[i - 1]);
        }
        layout->addWidget(parts[i]);
        connect(parts[i], &QLineEdit::textChanged, this, &FIpAddrEdit::textchangedslot);
        connect(parts[i], &QLineEdit::textEdited, this, &FIpAddrEdit::texteditedslot);
    }

    setText(QStringLiteral("127.0.0.1"));
}

FIpPartLineEdit *FIpAddrEdit::part(int index) const
{
    FIpPartLineEdit *const parts[] = {ip1, ip2, ip3, ip4};
    return (index >= 0 && index < 4) ? parts[index] : nullptr;
}

void FIpAddrEdit::setText(const QString &ip)
{
    const QStringList octets = isIpAddress(ip) ? ip.split(QLatin1Char('.'), Qt::SkipEmptyParts)
                                               : QStringList();
    for (int i = 0; i < 4; ++i)
        part(i)->setText(octets.value(i));
}

QString FIpAddrEdit::text() const
{
    return QStringLiteral("%1.%2.%3.%4").arg(ip1->text(), ip2->text(), ip3->text(), ip4->text());
}

void FIpAddrEdit::textchangedslot(QString)
{
    emit textchanged(text());
}

void FIpAddrEdit::texteditedslot(QString)
{
    emit textedited(text());
}
