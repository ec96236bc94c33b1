#pragma once

#include "core/MatrixCommands.h"

#include <QString>

class MatrixModel;

// Sends a command that routes one output and shows the new route in the routing map at once,
// before the matrix reports it. A command that could not be written (link down, link busy, no
// template) puts the previous route back, so that no tile shows a route that was never made.
class RouteSwitch
{
public:
    explicit RouteSwitch(MatrixModel* model, MatrixCommands commands = MatrixCommands());

    // The system command key (with its arguments) that routes output to input (0-based; -1 for
    // a closed output). True when the command was written.
    bool route(int output, int input, const QString& key, const CommandArgs& args) const;

private:
    MatrixModel* model;
    MatrixCommands commands;
};
