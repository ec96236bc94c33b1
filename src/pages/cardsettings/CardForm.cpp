#include "pages/cardsettings/CardForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QStackedWidget>
#include <QVBoxLayout>

CardForm CardForm::build(QWidget* panel, const QString& objectName, int width, int height)
{
    panel->setObjectName(objectName);
    panel->resize(width, height);
    auto* outer = new QVBoxLayout(panel);
    outer->setSpacing(6);
    outer->setContentsMargins(11, 11, 11, 11);
    auto* stack = new QStackedWidget(panel);
    stack->setObjectName(QStringLiteral("stackedWidget"));
    outer->addWidget(stack);
    outer->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));

    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page"));
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setObjectName(QStringLiteral("verticalLayout_2"));
    pageLayout->setSpacing(6);
    pageLayout->setContentsMargins(11, 11, 11, 11);
    auto* grid = new QGridLayout;
    grid->setObjectName(QStringLiteral("gridLayout"));
    grid->setSpacing(6);
    grid->setVerticalSpacing(15);
    grid->setContentsMargins(-1, 30, -1, -1);
    pageLayout->addLayout(grid);
    stack->addWidget(page);
    return {stack, grid};
}

QLabel* CardForm::addLabel(int row) const
{
    auto* label = new QLabel;
    label->setObjectName(row == 0 ? QStringLiteral("label") : QStringLiteral("label_%1").arg(row + 1));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gridLayout->addWidget(label, row, 0);
    return label;
}
