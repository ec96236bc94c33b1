// What an import of a user backup costs, at the largest database a backup holds.
// 1. Crafted backups at the limit: as many administrators as fit, each found by its name as it
//    reads and refused only at its password, so that none ends the check early; once with plain
//    names, once with names of long runs of combining marks (the costliest to prepare). Printed:
//    the time to read the users (the floor: the same bytes through the store's own reader), the
//    time of the whole import (unpacking, reading, judging every administrator), their ratio, and
//    the import of a tenth of the users beside it (time grows about linearly when the ratio is
//    near 10).
// 2. The store as the rights page leaves it for 2 400 users (all 160 + 160 rights each, written by
//    the store itself): its export and the import of that export, and whether the database came
//    back byte for byte.
// Each import also gives the most memory the process held during it (peak resident set).
#include "ProcessMemory.h"
#include "TempWorkDir.h"
#include "core/CUserManage.h"
#include "core/UserBackup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <cstdio>
#include <malloc.h>

namespace {

// {"user-list":[{"Id":1,"UserName":"admin1<tail>"},...]}: a missing Group is an administrator,
// the tail makes the name one that is found by its prepared form only, a missing password is no
// transform any login takes.
QByteArray craftedDatabase(int maxBytes, const QByteArray& nameTail, int* users)
{
    QByteArray json("{\"user-list\":[");
    const QByteArray end("]}");
    int count = 0;
    for (;;) {
        const QByteArray user = QByteArray(count ? "," : "") + "{\"Id\":" + QByteArray::number(count + 1)
                                + ",\"UserName\":\"admin" + QByteArray::number(count + 1) + nameTail + "\"}";
        if (json.size() + user.size() + end.size() > maxBytes)
            break;
        json += user;
        ++count;
    }
    *users = count;
    return json + end;
}

// A zero-width space, which preparing removes.
const QByteArray plainTail("\\u200b");

// Combining marks of two classes in turn (below, above) as raw UTF-8, up to the name's 99 bytes:
// preparing puts each run in canonical order, then composes what it can.
QByteArray marksTail()
{
    QByteArray tail;
    for (int i = 0; i < 40; ++i)
        tail += i % 2 ? "\xcc\x81" : "\xcc\xa3";   // U+0301, U+0323
    return tail + "\\u200b";
}

// Forgets the process's peak resident set, so that the next reading is the peak since now (what
// the allocator keeps of earlier runs given back first).
bool resetPeakMemory()
{
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

struct Run
{
    double ms = 0;
    bool refused = false;
    QString reason;
    double peakMiB = -1;
};

Run importOnce(const TempWorkDir& dir, const QString& backupName)
{
    Run run;
    CUserManage store;
    const bool peakReset = resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    run.refused = !UserBackup::importDatabase(dir.filePath(backupName), &store, &run.reason);
    run.ms = timer.nsecsElapsed() / 1e6;
    if (peakReset)
        run.peakMiB = processMemoryKib(0, "VmHWM") / 1024.0;
    return run;
}

Run importCrafted(const TempWorkDir& dir, const QByteArray& database)
{
    if (!dir.write(QStringLiteral("crafted.bak"), UserBackup::pack(database)))
        return Run();
    return importOnce(dir, QStringLiteral("crafted.bak"));
}

double readOnceMs(const QByteArray& database)
{
    QElapsedTimer timer;
    timer.start();
    const CUserManage store = CUserManage::fromUserList(database, QStringLiteral("crafted"));
    const double ms = timer.nsecsElapsed() / 1e6;
    return store.getUserList().isEmpty() ? -1 : ms;
}

bool benchCrafted(const TempWorkDir& dir, const char* kind, const QByteArray& nameTail)
{
    int users = 0;
    const QByteArray full = craftedDatabase(UserBackup::MaxDatabaseBytes, nameTail, &users);
    int tenthUsers = 0;
    const QByteArray tenth = craftedDatabase(full.size() / 10, nameTail, &tenthUsers);

    const double readMs = readOnceMs(full);
    const Run whole = importCrafted(dir, full);
    const Run small = importCrafted(dir, tenth);
    if (readMs < 0 || !whole.refused || !small.refused) {
        std::fprintf(stderr, "bench_import: the crafted backup (%s) was not read or not refused\n", kind);
        return false;
    }
    std::printf("crafted backup, %s: %d administrators, %d bytes unpacked\n", kind, users, int(full.size()));
    std::printf("  %-34s %10.1f ms\n", "read the users (floor)", readMs);
    std::printf("  %-34s %10.1f ms   (%.2f x the floor; peak %.0f MiB)\n", "import refused (whole check)", whole.ms,
                whole.ms / readMs, whole.peakMiB);
    std::printf("  %-34s %10.1f ms   (%d administrators)\n", "import of a tenth", small.ms, tenthUsers);
    std::printf("  %-34s %10.2f       (about 10: linear)\n", "whole / tenth", whole.ms / small.ms);
    std::printf("  reason: %s\n", qPrintable(whole.reason.section(QLatin1Char('\n'), 0, 1).simplified()));
    return true;
}

bool benchFullRightsStore(const TempWorkDir& dir)
{
    QJsonArray all;
    for (int port = 0; port < 160; ++port)
        all.append(true);
    QJsonArray users{QJsonObject{{"Id", 1}, {"Group", 0}, {"UserName", "Admin"}, {"PassWord", "987FF27701324BD2"}}};
    for (int id = 10; id < 10 + 2400; ++id)
        users.append(QJsonObject{{"Id", id}, {"Group", 1}, {"UserName", QStringLiteral("operator%1").arg(id)},
                                 {"PassWord", "987FF27701324BD2"}, {"Description", ""}, {"input-rights", all},
                                 {"output-rights", all}});
    CUserManage store = CUserManage::fromUserList(QJsonDocument(QJsonObject{{"user-list", users}}).toJson(),
                                                  QStringLiteral("bench"));
    if (!store.writeConfig())
        return false;
    QFile database(CUserManage::configFilePath());
    if (!database.open(QIODevice::ReadOnly))
        return false;
    const QByteArray original = database.readAll();
    database.close();

    QElapsedTimer timer;
    timer.start();
    QString reason;
    const bool exported = UserBackup::exportDatabase(dir.filePath(QStringLiteral("users.bak")), &reason);
    const double exportMs = timer.nsecsElapsed() / 1e6;
    const Run imported = importOnce(dir, QStringLiteral("users.bak"));
    if (!exported || imported.refused || !database.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_import: the store's own backup did not round-trip: %s%s\n", qPrintable(reason),
                     qPrintable(imported.reason));
        return false;
    }
    std::printf("store of 2 400 users with all rights, %d bytes\n", int(original.size()));
    std::printf("  %-34s %10.1f ms\n", "export", exportMs);
    std::printf("  %-34s %10.1f ms   (peak %.0f MiB)\n", "import of that export", imported.ms, imported.peakMiB);
    std::printf("  %-34s %10s\n", "database byte for byte", database.readAll() == original ? "yes" : "NO");
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.warning=false"));
    TempWorkDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "bench_import: no temporary folder\n");
        return 1;
    }
    std::printf("a backup holds at most %d bytes of user data\n", UserBackup::MaxDatabaseBytes);
    const bool ok = benchCrafted(dir, "plain names", plainTail)
                    && benchCrafted(dir, "names with runs of combining marks", marksTail())
                    && benchFullRightsStore(dir);
    return ok ? 0 : 1;
}
