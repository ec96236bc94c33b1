#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Replaces the file at path with bytes, or leaves it as it was: the text goes to a temporary file
// beside it that is renamed over the old one only when every byte reached the disk. With
// permissions, the new file has exactly those from its first byte on; without, a new file gets
// the usual ones and a replaced file keeps its own.
bool writeFileAtomically(const QString& path, const QByteArray& bytes,
                         QFileDevice::Permissions permissions = {});
