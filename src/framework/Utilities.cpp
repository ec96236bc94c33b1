#include "framework/Utilities.h"

#include "platform/ConfigFiles.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QSettings>
#include <QWidget>

void moveCenter(QWidget* w, int width, int height)
{
    if (!w)
        return;
    QSize area(width, height);
    if (width == 0 && height == 0) {
        if (const QWidget* parent = w->parentWidget())
            area = parent->size();
        else
            area = QApplication::desktop()->size();
    }
    // Halved first (truncating toward zero), then made non-negative.
    const int x = qAbs((area.width() - w->width()) / 2);
    const int y = qAbs((area.height() - w->height()) / 2);
    w->move(x, y);
}

void setSkin(const QString& qssFile, QWidget* widget)
{
    const QString fileName = qssFile.isEmpty() ? QStringLiteral("skin/qss/default.qss") : qssFile;
    const QString styleSheet = readFile(fileName);
    if (widget)
        widget->setStyleSheet(styleSheet);
    else if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        app->setStyleSheet(styleSheet);

    QSettings settings(ConfigFiles::mainConfig(), QSettings::IniFormat);
    settings.setValue(ConfigFiles::skinFileKey(), fileName);
}
