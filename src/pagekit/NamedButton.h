#pragma once

#include <QPushButton>

// A push button with the object name that tests and the style sheet find it by.
inline QPushButton* namedButton(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}
