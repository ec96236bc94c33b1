#include "core/AtomicFile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile::commit() does not notice a failed flush of its write buffer (disk full, size
    // limit) and would rename a cut file over the old one: flush and check first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
