#pragma once

// What every fuzz target sets up once: an application object, a working folder of its own with
// an empty data/ (the data files are relative to it), and no log output (millions of inputs).

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {

inline void quietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// Call first in every input; App is QCoreApplication or QApplication.
template <typename App = QCoreApplication>
void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VEXILO_LOOPBACK_ONLY", "1");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new App(argc, argv);
    qInstallMessageHandler(quietMessages);
    static QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QDir::setCurrent(dir.path());
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

inline void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        std::abort();
}

// A broken invariant is a finding: say which and stop, so that the fuzzer keeps the input.
inline void require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

} // namespace FuzzSupport
