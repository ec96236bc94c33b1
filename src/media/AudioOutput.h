#pragma once

#include <QStringList>

namespace Media {

// The players' sound output. Previews are silent: the only backend is "null", and audio is never
// decoded whatever is set here; the list is kept so that callers can state their choice.
class AudioOutput
{
public:
    // Keeps the names this build offers ("null") and drops the others with a warning.
    void setBackends(const QStringList& names);
    QStringList backends() const { return chosen; }
    static QStringList backendsAvailable();

private:
    QStringList chosen{QStringLiteral("null")};
};

} // namespace Media
