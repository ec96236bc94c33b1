#pragma once

// A throw-away program folder for one test: becomes the working directory (with an empty data/
// inside) and gets its own XDG_CONFIG_HOME, so tests never touch real settings or data.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>

class TempWorkDir
{
public:
    TempWorkDir()
    {
        previous = QDir::currentPath();
        if (!dir.isValid())
            return;
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        QDir(dir.path()).mkpath(QStringLiteral("config"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        QDir::setCurrent(dir.path());
    }
    ~TempWorkDir() { QDir::setCurrent(previous); }

    bool isValid() const { return dir.isValid(); }
    QString path() const { return dir.path(); }
    QString filePath(const QString& name) const { return dir.filePath(name); }

    // Writes bytes to a file below the folder (true when all were written).
    bool write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }
    QByteArray read(const QString& name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir;
    QString previous;
};

// A fresh TempWorkDir for each test function: renew() from init(), drop() from cleanup().
class PerTestWorkDir
{
public:
    bool renew()
    {
        current.reset(); // the old folder first, so that the new one remembers the real working folder
        current = std::make_unique<TempWorkDir>();
        return current->isValid();
    }
    void drop() { current.reset(); }
    TempWorkDir* operator->() const { return current.get(); }

private:
    std::unique_ptr<TempWorkDir> current;
};
