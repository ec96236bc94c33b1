#pragma once

#include <QString>

// Makes the file at path readable and writable by its owner only, creating it empty when it is
// missing. Writers that replace the file through QSaveFile (QSettings among them) keep the
// permissions of the file they replace, so a settings file made private once stays private.
bool makeOwnerOnly(const QString& path);

