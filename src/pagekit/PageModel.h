#pragma once

class MatrixModel;

// The port records and routing map that the pages read and write. The central page owns the
// model and registers it here before it builds the pages; the pages never include the
// application layer.
class PageModel
{
public:
    static void setModel(MatrixModel* model);
    // The registered model. Without one (a page used on its own) a standalone model is made once,
    // loaded from data/CardConfig.dat like the central page's.
    static MatrixModel* model();
    static bool isRegistered();
};
