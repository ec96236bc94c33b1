#include "pagekit/PageModel.h"

#include "core/MatrixModel.h"

#include <QCoreApplication>
#include <QPointer>
#include <QtDebug>

namespace {
QPointer<MatrixModel> registered;
QPointer<MatrixModel> standalone;
} // namespace

void PageModel::setModel(MatrixModel* model)
{
    registered = model;
}

MatrixModel* PageModel::model()
{
    if (registered)
        return registered.data();
    if (!standalone) {
        qWarning() << "PageModel: no matrix model registered, pages use a standalone one";
        standalone = new MatrixModel(QCoreApplication::instance());
    }
    return standalone.data();
}

bool PageModel::isRegistered()
{
    return !registered.isNull();
}
