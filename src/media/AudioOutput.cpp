#include "media/AudioOutput.h"

#include <QtDebug>

namespace Media {

QStringList AudioOutput::backendsAvailable()
{
    return {QStringLiteral("null")};
}

void AudioOutput::setBackends(const QStringList& names)
{
    QStringList kept;
    for (const QString& name : names) {
        if (backendsAvailable().contains(name, Qt::CaseInsensitive))
            kept << name.toLower();
        else
            qWarning() << "audio backend not available, skipped:" << name;
    }
    chosen = kept;
}

} // namespace Media
