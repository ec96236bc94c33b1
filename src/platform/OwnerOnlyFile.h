#pragma once

#include <QString>

// Makes the file at path readable and writable by its owner only, creating it empty when it is
// missing. Writers that replace the file through QSaveFile (QSettings among them) keep the
// permissions of the file they replace, so a settings file made private once stays private.
bool makeOwnerOnly(const QString& path);

// Takes every access of group and others away from an existing file, keeping the owner's as it
// is (nothing is added). False when the file is missing or its mode cannot be changed.
bool restrictToOwner(const QString& path);
