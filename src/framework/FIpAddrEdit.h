#pragma once

#include <QWidget>

class FIpPartLineEdit;
class QLabel;

// IPv4 address editor made of four octet fields. text() joins the fields as they stand, so an
// incomplete address reads like "192..1.".
class FIpAddrEdit : public QWidget
{
    Q_OBJECT
public:
    explicit FIpAddrEdit(QWidget *parent = nullptr);

    void setText(const QString &ip);
    QString text() const;

    FIpPartLineEdit *part(int index) const;

signals:
    void textchanged(QString text);
    void textedited(QString text);

public slots:
    void textchangedslot(QString text);
    void texteditedslot(QString text);

private:
    FIpPartLineEdit *ip1;
    FIpPartLineEdit *ip2;
    FIpPartLineEdit *ip3;
    FIpPartLineEdit *ip4;
    QLabel *dots[3];
};
