// The maintenance and log tabs against a simulated card: firmware uploads checked at the card,
// a chunk refused midway, files refused before anything is sent, and the log's pages.

#include "PanelFixture.h"

#include <QCryptographicHash>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>

class TestPanelMaintenance : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firmwareUpload_data();
    void firmwareUpload();
    void chunkRefusedMidwayStillEnds();
    void filesRefusedBeforeSending_data();
    void filesRefusedBeforeSending();
    void logPages_data();
    void logPages();
    void logFailures_data();
    void logFailures();

private:
    QString writeFile(const QString& name, qint64 size);
    std::unique_ptr<PanelFixture> f;
    int n = 0;
};

void TestPanelMaintenance::init()
{
    f = std::make_unique<PanelFixture>(2, ++n);
    QVERIFY2(f->isReady(), qPrintable(f->card.errorText()));
    QVERIFY(f->panel->onClickConnect());
    f->mark();
}

void TestPanelMaintenance::cleanup()
{
    f.reset();
}

QString TestPanelMaintenance::writeFile(const QString& name, qint64 size)
{
    QFile file(f->dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray block(65536, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char((i * 7 + i / 251) & 0xFF);
    for (qint64 left = size; left > 0; left -= block.size())
        file.write(block.constData(), qMin<qint64>(left, block.size()));
    return file.fileName();
}

void TestPanelMaintenance::firmwareUpload_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("chunks");
    QTest::newRow("1 byte") << qint64(1) << 1;
    QTest::newRow("10240 bytes") << qint64(10240) << 1;
    QTest::newRow("10241 bytes") << qint64(10241) << 2;
    QTest::newRow("5 MiB and a bit") << qint64(5 * 1024 * 1024 + 123) << 513;
}

void TestPanelMaintenance::firmwareUpload()
{
    QFETCH(qint64, size);
    QFETCH(int, chunks);
    const QString path = writeFile(QStringLiteral("V3.0.%1.bin").arg(n), size);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray sha1 = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
    f->child<QLineEdit>("lineEditUpgradeFile")->setText(path);
    f->click("pushButtonUpgrade");
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("升级成功,设备稍后自动重启！")});
    // The card counted the chunks down to 0 (it refuses any other order) and got every byte.
    QCOMPARE(f->card.state(QStringLiteral("firmware")),
             QStringLiteral("V3.0.%1.bin,%2,%3").arg(n).arg(size).arg(QString::fromLatin1(sha1)));
    QCOMPARE(f->requests(2, 3), chunks);
    QVERIFY(!f->child<QProgressBar>("progressBarUpgrade")->isVisible());
    QCOMPARE(f->page(), 0);
}

void TestPanelMaintenance::chunkRefusedMidwayStillEnds()
{
    f->child<QLineEdit>("lineEditUpgradeFile")->setText(writeFile(QStringLiteral("fw.bin"), 10 * 10240));
    auto* progress = f->child<QProgressBar>("progressBarUpgrade");
    bool armed = false;
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        if (!armed && value >= 3 * 10240)
            armed = f->card.fault(QStringLiteral("result 7 on 2/3"));
    });
    f->click("pushButtonUpgrade");
    QVERIFY(armed);
    // The end's result decides the message: the card refuses an upload it did not get whole.
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("设备升级失败，错误码8")});
    QCOMPARE(f->requests(2, 3), 4);
    QCOMPARE(f->requests(2, 5), 1);
    QCOMPARE(progress->value(), 3 * 10240);
    QCOMPARE(f->card.state(QStringLiteral("upload")), QStringLiteral("idle"));
    QCOMPARE(f->page(), 1);
}

void TestPanelMaintenance::filesRefusedBeforeSending_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("message");
    QTest::newRow("no file chosen") << QString() << qint64(0) << "请选择升级文件！";
    QTest::newRow("missing file") << "missing.bin" << qint64(-1) << "固件文件打开失败！";
    QTest::newRow("empty file") << "empty.bin" << qint64(0) << "文件内容为空！";
    QTest::newRow("beyond 65536 chunks") << "huge.bin" << FirmwareChunkPlan::MaxFileSize + 1
                                         << "升级文件过大，最多671088640字节！";
    QTest::newRow("name not Latin-1") << "固件.bin" << qint64(10) << "升级文件名只能包含西文字符！";
}

void TestPanelMaintenance::filesRefusedBeforeSending()
{
    QFETCH(QString, name);
    QFETCH(qint64, size);
    QString path;
    if (!name.isEmpty()) {
        path = f->dir.filePath(name);
        QFile file(path);
        // A sparse file stands in for a large one.
        QVERIFY(size < 0 || (file.open(QIODevice::WriteOnly) && file.resize(size)));
    }
    f->child<QLineEdit>("lineEditUpgradeFile")->setText(path);
    f->click("pushButtonUpgrade");
    QTEST(f->boxes.take().value(0), "message");
    QCOMPARE(f->requests(2), 0);
}

void TestPanelMaintenance::logPages_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<int>("entries");
    QTest::newRow("empty") << "0" << 0;
    QTest::newRow("one page") << "16" << 16;
    QTest::newRow("three pages") << "33" << 33;
    QTest::newRow("full reply") << "full" << -1;
}

void TestPanelMaintenance::logPages()
{
    QFETCH(QString, log);
    QFETCH(int, entries);
    QVERIFY(f->card.control(QStringLiteral("log %1 %2").arg(f->card.host(), log)).startsWith("OK"));
    if (entries < 0)
        entries = f->card.stateNumber(QStringLiteral("logs"));
    const int pages = (entries + 15) / 16;
    // The preset range (the past week up to the end of today) finds what the card logged lately.
    f->click("pushButtonFindLog");
    QVERIFY(f->boxes.texts.isEmpty());
    auto* table = f->child<QTableWidget>("tableWidgetLog");
    QCOMPARE(f->child<QLabel>("labelLogCount")->text(), QStringLiteral("共%1条").arg(entries));
    QCOMPARE(f->child<QLabel>("labelLogPage")->text(), QStringLiteral("1/%1").arg(pages));
    QCOMPARE(table->rowCount(), qMin(16, entries));
    for (int i = 0; i < pages + 1; ++i)
        f->click("pushButtonPageDown");
    QCOMPARE(f->child<QLabel>("labelLogPage")->text(), QStringLiteral("%1/%2").arg(qMax(1, pages)).arg(pages));
    QCOMPARE(table->rowCount(), entries - 16 * qMax(0, pages - 1));
    if (entries > 0) {
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("1"));
        QVERIFY(QDateTime::fromString(table->item(0, 2)->text(), QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid());
    }
    f->click("pushButtonPageUp");
    QCOMPARE(f->child<QLabel>("labelLogPage")->text(), QStringLiteral("%1/%2").arg(qMax(1, pages - 1)).arg(pages));
}

void TestPanelMaintenance::logFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("refused") << "result 9 on 3/5" << "失败，错误码9";
    QTest::newRow("body cut short") << "cut 20 on 3/5" << "失败，错误码17";
    QTest::newRow("length shorter than the body") << "bodylen 10 on 3/5" << "设备返回的数据无法识别！";
}

void TestPanelMaintenance::logFailures()
{
    QFETCH(QString, fault);
    QVERIFY(f->card.fault(fault));
    f->click("pushButtonFindLog");
    QTEST(f->boxes.take().value(0), "message");
    QCOMPARE(f->child<QLabel>("labelLogCount")->text(), QStringLiteral("共0条"));
    QCOMPARE(f->child<QTableWidget>("tableWidgetLog")->rowCount(), 0);
}

PANEL_TEST_MAIN(TestPanelMaintenance)
#include "tst_panelmaintenance.moc"
