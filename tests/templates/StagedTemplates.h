#pragma once

// Copies the generated data/command<N>/ folders of the build into a test's working folder, so
// that lookups read exactly what the build stages beside the program.

#include "core/PublicClass.h"
#include "TempWorkDir.h"

#include <QDir>
#include <QFile>
#include <QMetaEnum>

namespace StagedTemplates {

inline QString binDir()
{
    return QString::fromLocal8Bit(qgetenv("VEXILO_BIN_DIR"));
}

inline QString sourcePath()
{
    return QString::fromLocal8Bit(qgetenv("VEXILO_SOURCE_DIR")) + QStringLiteral("/tools/templategen/templates.json");
}

// True when every command<N> folder was copied and held files.
inline bool stage(const TempWorkDir& dir)
{
    for (int language = 0; language < 3; ++language) {
        const QString folder = QStringLiteral("data/command%1").arg(language);
        const QDir source(binDir() + QLatin1Char('/') + folder);
        const QStringList files = source.entryList({QStringLiteral("*.ini")}, QDir::Files);
        if (files.isEmpty() || !QDir(dir.path()).mkpath(folder))
            return false;
        for (const QString& file : files) {
            if (!QFile::copy(source.filePath(file), dir.filePath(folder + QLatin1Char('/') + file)))
                return false;
        }
    }
    return true;
}

// A card type whose mode-2 word is the given file word (-1 when none).
inline int cardTypeOfWord(const QString& word)
{
    const QMetaEnum meta = QMetaEnum::fromType<PublicClass::eCARD_TYPE>();
    for (int i = 0; i < meta.keyCount(); ++i) {
        if (cardTypeName(meta.value(i), 2) == word)
            return meta.value(i);
    }
    return -1;
}

} // namespace StagedTemplates
