#pragma once

#include <QString>

class QWidget;

// Asks for a file to write, as QFileDialog::getSaveFileName does, but a name typed without a
// suffix gets defaultSuffix: the import's filter then shows the file the export wrote. Empty when
// the operator cancels.
QString saveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                     const QString& defaultSuffix);
