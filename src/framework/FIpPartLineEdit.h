#pragma once

#include <QLineEdit>

// One octet of FIpAddrEdit: up to three digits 0..255. Moves the focus on to the next octet
// once the octet is complete or on ".".
class FIpPartLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit FIpPartLineEdit(QWidget *parent = nullptr);

    void setNextTab(FIpPartLineEdit *next) { nextTab = next; }
    FIpPartLineEdit *getNextTab() const { return nextTab; }

public slots:
    void text_edited(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void focusNext();

    FIpPartLineEdit *nextTab = nullptr;
};
