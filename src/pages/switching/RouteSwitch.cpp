#include "pages/switching/RouteSwitch.h"

#include "core/MatrixModel.h"

RouteSwitch::RouteSwitch(MatrixModel* model, MatrixCommands commands)
    : model(model)
    , commands(std::move(commands))
{
}

bool RouteSwitch::route(int output, int input, const QString& key, const CommandArgs& args) const
{
    const int previous = model->getRoute(output);
    model->setRoute(output, input);
    if (commands.sendSystem(key, args, false))
        return true;
    // The send pumps events: a route the matrix reported meanwhile stays.
    if (model->getRoute(output) == input)
        model->setRoute(output, previous);
    return false;
}
