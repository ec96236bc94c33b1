#include "pagekit/TwoPanePage.h"

#include "pagekit/StyledBackground.h"

#include <QHBoxLayout>

TwoPanePage::TwoPanePage(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
}

void TwoPanePage::setPanes(QWidget* left, QWidget* right)
{
    left->setFixedWidth(200);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(left);
    layout->addWidget(right);
    layout->addStretch();
}

void TwoPanePage::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
