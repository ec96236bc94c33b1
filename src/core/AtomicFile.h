#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes, or leaves it as it was: the text goes to a temporary file
// beside it that is renamed over the old one only when every byte reached the disk.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);
