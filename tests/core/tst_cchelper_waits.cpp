// How long a waited command waits for a silent matrix: 15000 ms for the two largest models.
#include "DeviceSimProcess.h"
#include "LinkTestSupport.h"

#include "core/GlobalState.h"

#include <QElapsedTimer>

class TestCCHelperWaits : public QObject
{
    Q_OBJECT

private slots:
    void silentMatrixGivesUpAfterModelWait_data();
    void silentMatrixGivesUpAfterModelWait();
};

void TestCCHelperWaits::silentMatrixGivesUpAfterModelWait_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("waitMs");
    QTest::newRow("16 ports") << 16 << 6000;
    QTest::newRow("144 ports") << 144 << 15000;
    QTest::newRow("160 ports") << 160 << 15000;
}

void TestCCHelperWaits::silentMatrixGivesUpAfterModelWait()
{
    QFETCH(int, model);
    QFETCH(int, waitMs);
    g_deviceModel = model;
    CCHelper* link = freshLink();
    DeviceSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}), qPrintable(sim.errorString()));
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    QVERIFY(link->isConnected());
    // The answer comes only after the wait would have ended at the smaller limit.
    QCOMPARE(sim.control(QStringLiteral("delay 9000")), QByteArray("OK"));
    QCOMPARE(sim.control(QStringLiteral("reply late\\r\\n")), QByteArray("OK"));

    QElapsedTimer clock;
    clock.start();
    QString reply;
    QByteArray bytes;
    const bool ok = link->sendData(QStringLiteral("/*Type;"), true, reply, bytes, false);
    const qint64 elapsed = clock.elapsed();
    if (waitMs < 9000) {
        QVERIFY(!ok);
        QVERIFY2(elapsed >= waitMs - 50 && elapsed < 9000, qPrintable(QString::number(elapsed)));
    } else {
        QVERIFY(ok);
        QCOMPARE(reply, QStringLiteral("late\r\n"));
    }
    delete link;
}

QTEST_GUILESS_MAIN(TestCCHelperWaits)
#include "tst_cchelper_waits.moc"
