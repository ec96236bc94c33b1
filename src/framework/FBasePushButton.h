#pragma once

#include <QPushButton>

// Push button with a soft drop shadow; the dialogs' OK and Cancel buttons.
class FBasePushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit FBasePushButton(const QString &text, QWidget *parent = nullptr);
    explicit FBasePushButton(QWidget *parent = nullptr);

private:
    void addShadow();
};
