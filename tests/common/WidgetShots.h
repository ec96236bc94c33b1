#pragma once

// Pictures of widgets for looking at the skin, and the skinned working folder the widget tests
// run in.
//
//   WidgetShots::save(widget, "name")  writes widget->grab() as $VEXILO_SCREENSHOT_DIR/name.png
//                                      when that variable is set; otherwise does nothing.
//   WidgetShots::SkinnedWorkDir        a temporary working folder holding a copy of the staged
//                                      runtime (skin/, style/, data/) with the default skin
//                                      applied to the application.

#include "TempWorkDir.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace WidgetShots {

inline QString shotDir()
{
    return QString::fromLocal8Bit(qgetenv("VEXILO_SCREENSHOT_DIR"));
}

// Returns the written path, or an empty string when pictures are off or writing failed.
inline QString save(QWidget *widget, const QString &name)
{
    const QString dir = shotDir();
    if (dir.isEmpty() || !widget)
        return QString();
    QDir().mkpath(dir);
    widget->ensurePolished();
    QCoreApplication::processEvents();
    const QString path = QDir(dir).filePath(name + QStringLiteral(".png"));
    return widget->grab().save(path, "PNG") ? path : QString();
}

// The runtime folder to copy: the staged one beside the executables, else the source tree's.
inline QString runtimeSource()
{
    const QString bin = QString::fromLocal8Bit(qgetenv("VEXILO_BIN_DIR"));
    if (!bin.isEmpty() && QFileInfo::exists(bin + QStringLiteral("/skin/qss/default.qss")))
        return bin;
    const QString src = QString::fromLocal8Bit(qgetenv("VEXILO_SOURCE_DIR"));
    return src.isEmpty() ? QString() : src + QStringLiteral("/runtime");
}

inline bool copyTree(const QString &from, const QString &to)
{
    if (!QFileInfo(from).isDir())
        return false;
    bool ok = QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        ok = QFile::copy(file, target) && ok;
    }
    return ok;
}

class SkinnedWorkDir : public TempWorkDir
{
public:
    SkinnedWorkDir()
    {
        const QString source = runtimeSource();
        if (!isValid() || source.isEmpty())
            return;
        skinned = copyTree(source + QStringLiteral("/skin"), filePath(QStringLiteral("skin")));
        copyTree(source + QStringLiteral("/style"), filePath(QStringLiteral("style")));
        QFile qss(filePath(QStringLiteral("skin/qss/default.qss")));
        if (skinned && qss.open(QIODevice::ReadOnly))
            qApp->setStyleSheet(QString::fromUtf8(qss.readAll()));
        else
            skinned = false;
    }
    ~SkinnedWorkDir() { qApp->setStyleSheet(QString()); }

    // True when the skin files were copied and the style sheet applied.
    bool isSkinned() const { return skinned; }

private:
    bool skinned = false;
};

} // namespace WidgetShots
