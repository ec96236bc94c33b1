#include "pages/switching/SwitchTiles.h"

#include "core/PublicClass.h"
#include "pagekit/PortListRules.h"

#include <QGridLayout>
#include <QWidget>
#include <QtGlobal>

namespace SwitchTiles {

int tileCount(int model)
{
    return qBound(0, model, kPerPage);
}

int lastPage(int model)
{
    return model > 0 ? (model - 1) / kPerPage : 0;
}

int nextPage(int page, int model)
{
    ++page;
    return page > lastPage(model) ? 0 : page;
}

int previousPage(int page, int model)
{
    --page;
    return page < 0 ? lastPage(model) : page;
}

bool outputOffered(int outCardType, int port)
{
    return outCardType != PublicClass::eCARD_TYPE_NONE && outCardType != PublicClass::eCARD_TYPE_Preview_O
           && PortListRules::outputListed(outCardType, port);
}

QGridLayout* layOutTiles(QWidget* view, const QList<QWidget*>& tiles)
{
    auto* grid = new QGridLayout(view);
    grid->setSpacing(10);
    grid->setContentsMargins(10, 10, 10, 10);
    for (int i = 0; i < tiles.size(); ++i) {
        const int row = i / kColumns;
        const int column = i % kColumns;
        grid->addWidget(tiles.at(i), row, column, 1, 1);
        grid->setRowStretch(row, 1);
        grid->setColumnStretch(column, 1);
    }
    return grid;
}

} // namespace SwitchTiles
