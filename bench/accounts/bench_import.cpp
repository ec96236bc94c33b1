// The check an import makes before a backup replaces the user database, on a crafted backup of
// the largest database the console takes: as many administrators as fit, each found by its name
// as it reads and refused only at its password, so that none ends the check early. Printed: the time to read
// the users (the floor: the same bytes through the store's own reader), the time of the whole
// import (unpacking, reading, judging every administrator), their ratio, and the import of a
// tenth of the users beside it (time grows about linearly when the ratio is near 10).
#include "TempWorkDir.h"
#include "core/CUserManage.h"
#include "core/UserBackup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include <cstdio>

namespace {

// {"user-list":[{"Id":1,"UserName":"admin1\u200b"},...]}: a missing Group is an administrator, a
// name with a zero-width space is found by its prepared form only, a missing password is no
// transform any login takes.
QByteArray craftedDatabase(int maxBytes, int* users)
{
    QByteArray json("{\"user-list\":[");
    const QByteArray end("]}");
    int count = 0;
    for (;;) {
        const QByteArray user = QByteArray(count ? "," : "") + "{\"Id\":" + QByteArray::number(count + 1)
                                + ",\"UserName\":\"admin" + QByteArray::number(count + 1) + "\\u200b\"}";
        if (json.size() + user.size() + end.size() > maxBytes)
            break;
        json += user;
        ++count;
    }
    *users = count;
    return json + end;
}

struct Run
{
    double ms = 0;
    bool refused = false;
    QString reason;
};

Run importOnce(const TempWorkDir& dir, const QByteArray& database)
{
    const QString path = dir.filePath(QStringLiteral("crafted.bak"));
    Run run;
    if (!dir.write(QStringLiteral("crafted.bak"), UserBackup::pack(database)))
        return run;
    CUserManage store;
    QElapsedTimer timer;
    timer.start();
    run.refused = !UserBackup::importDatabase(path, &store, &run.reason);
    run.ms = timer.nsecsElapsed() / 1e6;
    return run;
}

double readOnceMs(const QByteArray& database)
{
    QElapsedTimer timer;
    timer.start();
    const CUserManage store = CUserManage::fromUserList(database, QStringLiteral("crafted"));
    const double ms = timer.nsecsElapsed() / 1e6;
    return store.getUserList().isEmpty() ? -1 : ms;
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
    int users = 0;
    const QByteArray full = craftedDatabase(UserBackup::MaxDatabaseBytes, &users);
    int tenthUsers = 0;
    const QByteArray tenth = craftedDatabase(full.size() / 10, &tenthUsers);

    const double readMs = readOnceMs(full);
    const Run whole = importOnce(dir, full);
    const Run small = importOnce(dir, tenth);
    if (readMs < 0 || !whole.refused || !small.refused) {
        std::fprintf(stderr, "bench_import: the crafted backup was not read or not refused\n");
        return 1;
    }
    std::printf("crafted backup: %d administrators, %d bytes unpacked\n", users, int(full.size()));
    std::printf("%-36s %10.1f ms\n", "read the users (floor)", readMs);
    std::printf("%-36s %10.1f ms   (%.2f x the floor)\n", "import refused (whole check)", whole.ms, whole.ms / readMs);
    std::printf("%-36s %10.1f ms   (%d administrators)\n", "import of a tenth", small.ms, tenthUsers);
    std::printf("%-36s %10.2f       (about 10: linear)\n", "whole / tenth", whole.ms / small.ms);
    std::printf("reason: %s\n", qPrintable(whole.reason.section(QLatin1Char('\n'), 0, 1).simplified()));
    return 0;
}
