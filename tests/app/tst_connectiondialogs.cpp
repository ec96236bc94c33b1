#include "AppTestSupport.h"
#include "app/CConSetDialog.h"
#include "app/CSelectCardTypeDialog.h"
#include "app/CardTypeChoices.h"
#include "framework/FIpAddrEdit.h"
#include "framework/FTableWidget.h"
#include "core/GlobalState.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSerialPortInfo>
#include <QSettings>
#include <QSpinBox>
#include <QTcpServer>
#include <QtTest>

#include <memory>

namespace {
QVariant deviceValue(const QString& key)
{
    return QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat)
        .value(QStringLiteral("DEVICE_INFO/") + key);
}

// Runs the dialog modally, presses OK once it shows and returns exec's result.
int execPressingOk(CConSetDialog& dialog)
{
    AppTest::whenShown<CConSetDialog>([](CConSetDialog* d) {
        d->getOkButton()->click();
        // An accepted dialog has faded out by now; one that stayed open is turned away.
        QTimer::singleShot(1000, d, [d]() { d->reject(); });
    });
    return dialog.exec();
}
} // namespace

class TestConnectionDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void readsStoredSettings();
    void switchesGroups();
    void tcpAnswered();
    void tcpRefusedWritesNothing();
    void tcpEntriesChecked_data();
    void tcpEntriesChecked();
    void serialWrittenWithoutTest();
    void storedSerialPortMissing_data();
    void storedSerialPortMissing();
    void entriesMatchTheLetterTable();
    void letterRoundTrip_data();
    void letterRoundTrip();
    void rows_data();
    void rows();
    void choosingWritesLetters_data();
    void choosingWritesLetters();
    void cancelKeepsLettersChanged();

private:
    std::unique_ptr<TempWorkDir> dir;
};

void TestConnectionDialogs::initTestCase()
{
    dir = std::make_unique<TempWorkDir>();
    QVERIFY(AppTest::stageRuntime(*dir));
}

void TestConnectionDialogs::init()
{
    QFile::remove(QStringLiteral("data/ClientConfig.dat"));
}

void TestConnectionDialogs::readsStoredSettings()
{
    QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"),
                       "[DEVICE_INFO]\ndev_con_type=0\ndev_addr=127.0.0.9\ndev_tcp_port=5123\n"));
    CConSetDialog dialog;
    QCOMPARE(dialog.getTypeCombo()->count(), 2);
    QCOMPARE(dialog.getTypeCombo()->currentIndex(), 0);
    QCOMPARE(dialog.getAddressEdit()->text(), QStringLiteral("127.0.0.9"));
    QCOMPARE(dialog.getPortSpin()->value(), 5123);
    QCOMPARE(dialog.getPortSpin()->minimum(), 1);
    QCOMPARE(dialog.getPortSpin()->maximum(), 65535);

    QFile::remove(QStringLiteral("data/ClientConfig.dat"));
    CConSetDialog defaults;
    QCOMPARE(defaults.getAddressEdit()->text(), QStringLiteral("192.168.0.178"));
    QCOMPARE(defaults.getPortSpin()->value(), 4001);

    // A type the link does not know shows TCP rather than no entry (which OK stored as -1).
    QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"), "[DEVICE_INFO]\ndev_con_type=5\n"));
    CConSetDialog damaged;
    QCOMPARE(damaged.getTypeCombo()->currentIndex(), 0);
}

void TestConnectionDialogs::switchesGroups()
{
    CConSetDialog dialog;
    dialog.show();
    QVERIFY(dialog.getTcpGroup()->isVisible());
    QVERIFY(!dialog.getSerialGroup()->isVisible());
    dialog.getTypeCombo()->setCurrentIndex(1);
    QVERIFY(!dialog.getTcpGroup()->isVisible());
    QVERIFY(dialog.getSerialGroup()->isVisible());
    dialog.changeConnectType(7);
    QVERIFY(dialog.getSerialGroup()->isVisible());
    dialog.hide();
}

void TestConnectionDialogs::tcpAnswered()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
    CConSetDialog dialog;
    dialog.getAddressEdit()->setText(QStringLiteral("127.0.0.1"));
    dialog.getPortSpin()->setValue(server.serverPort());
    AppTest::MessageBoxWatcher watcher;
    QCOMPARE(execPressingOk(dialog), int(QDialog::Accepted));
    QVERIFY(watcher.texts().isEmpty());
    QCOMPARE(deviceValue(QStringLiteral("dev_con_type")).toInt(), 0);
    QCOMPARE(deviceValue(QStringLiteral("dev_addr")).toString(), QStringLiteral("127.0.0.1"));
    QCOMPARE(deviceValue(QStringLiteral("dev_tcp_port")).toInt(), int(server.serverPort()));
    QVERIFY(deviceValue(QStringLiteral("dev_serial_port")).isValid());
}

void TestConnectionDialogs::tcpRefusedWritesNothing()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
    const quint16 port = probe.serverPort();
    probe.close();
    CConSetDialog dialog;
    dialog.getAddressEdit()->setText(QStringLiteral("127.0.0.1"));
    dialog.getPortSpin()->setValue(port);
    AppTest::MessageBoxWatcher watcher;
    QCOMPARE(execPressingOk(dialog), int(QDialog::Rejected)); // closed by the safety timer
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral("无法连接到设备，请检查连接信息！")});
    QVERIFY(!QFile::exists(QStringLiteral("data/ClientConfig.dat"))
            || !deviceValue(QStringLiteral("dev_addr")).isValid());
}

// Entries typed as an operator types them; OK pressed with the mouse or Enter (either takes the
// focus out of the port field, where the spin box used to put 4001 back).
void TestConnectionDialogs::tcpEntriesChecked_data()
{
    QTest::addColumn<QString>("octet2"); // the second octet as typed
    QTest::addColumn<bool>("emptyPort");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QString>("message");
    QTest::newRow("port emptied, OK clicked") << "0" << true << false << QStringLiteral("端口号不能为空！");
    QTest::newRow("port emptied, Enter") << "0" << true << true << QStringLiteral("端口号不能为空！");
    QTest::newRow("octet emptied") << "" << false << false
                                   << QStringLiteral("无法连接到设备，请检查连接信息！");
}

void TestConnectionDialogs::tcpEntriesChecked()
{
    QFETCH(QString, octet2);
    QFETCH(bool, emptyPort);
    QFETCH(bool, enter);
    QFETCH(QString, message);
    QTcpServer server; // would answer: the check must refuse before any test connection
    QVERIFY(server.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
    CConSetDialog dialog;
    dialog.getAddressEdit()->setText(QStringLiteral("127.0.0.1"));
    dialog.getPortSpin()->setValue(server.serverPort());
    AppTest::MessageBoxWatcher watcher;
    AppTest::whenShown<CConSetDialog>([&](CConSetDialog* d) {
        auto* octet = d->getAddressEdit()->findChildren<QLineEdit*>().value(1);
        octet->setFocus();
        octet->selectAll();
        QTest::keyClick(octet, Qt::Key_Backspace);
        QTest::keyClicks(octet, octet2);
        if (emptyPort) {
            QSpinBox* port = d->getPortSpin();
            port->setFocus();
            port->selectAll();
            QTest::keyClick(port, Qt::Key_Backspace);
            if (enter)
                QTest::keyClick(port, Qt::Key_Return);
        }
        if (!enter)
            QTest::mouseClick(d->getOkButton(), Qt::LeftButton);
        QTimer::singleShot(1000, d, [d]() { d->reject(); });
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected)); // stayed open until turned away
    QCOMPARE(watcher.texts(), QStringList{message});
    QVERIFY(!server.hasPendingConnections());
    QVERIFY(!deviceValue(QStringLiteral("dev_tcp_port")).isValid());
}

void TestConnectionDialogs::serialWrittenWithoutTest()
{
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    const QString chosen = ports.isEmpty() ? QString() : ports.last().portName();
    QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"),
                       QStringLiteral("[DEVICE_INFO]\ndev_con_type=1\ndev_addr=127.0.0.1\ndev_tcp_port=1\n"
                                      "dev_serial_port=%1\n").arg(chosen).toUtf8()));
    CConSetDialog dialog;
    QCOMPARE(dialog.getTypeCombo()->currentIndex(), 1);
    QCOMPARE(dialog.getSerialCombo()->count(), ports.size());
    AppTest::MessageBoxWatcher watcher;
    QCOMPARE(execPressingOk(dialog), int(QDialog::Accepted));
    QVERIFY(watcher.texts().isEmpty());
    QCOMPARE(deviceValue(QStringLiteral("dev_con_type")).toInt(), 1);
    QCOMPARE(deviceValue(QStringLiteral("dev_serial_port")).toString(), chosen);
    QCOMPARE(deviceValue(QStringLiteral("dev_tcp_port")).toInt(), 1);
}

// A stored port the machine does not list stays chosen, marked, and OK keeps it; with none
// stored the first listed port is chosen as before.
void TestConnectionDialogs::storedSerialPortMissing_data()
{
    QTest::addColumn<QString>("stored"); // empty: no dev_serial_port line
    QTest::newRow("pseudo-terminal") << "/dev/pts/7";
    QTest::newRow("unplugged adapter") << "ttyUSB9";
    QTest::newRow("nothing stored") << "";
}

void TestConnectionDialogs::storedSerialPortMissing()
{
    QFETCH(QString, stored);
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports)
        QVERIFY(port.portName() != stored); // a port this machine does not list
    QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"),
                       QByteArray("[DEVICE_INFO]\ndev_con_type=1\n")
                           + (stored.isEmpty() ? QByteArray() : "dev_serial_port=" + stored.toUtf8() + '\n')));
    CConSetDialog dialog;
    QComboBox* combo = dialog.getSerialCombo();
    const QString kept = !stored.isEmpty() ? stored : ports.isEmpty() ? QString() : ports.first().portName();
    QCOMPARE(combo->count(), ports.size() + (stored.isEmpty() ? 0 : 1));
    QCOMPARE(combo->currentData().toString(), kept);
    if (!stored.isEmpty())
        QCOMPARE(combo->currentText(), stored + QStringLiteral("（未找到）"));
    QCOMPARE(execPressingOk(dialog), int(QDialog::Accepted));
    QCOMPARE(deviceValue(QStringLiteral("dev_serial_port")).toString(), kept);
}

void TestConnectionDialogs::entriesMatchTheLetterTable()
{
    const QStringList common{"NONE", "HDMI", "DVI", "SDI", "VGA", "AV", "HDMI&SDI", "HDMI&VGA",
                             "HDBT", "Fiber", "4K HDMI", "4K Fiber", "4K HDBT"};
    QCOMPARE(CardTypeChoices::inputEntries(), common + QStringList{"IP"});
    QCOMPARE(CardTypeChoices::outputEntries(), common + QStringList{"Preview"});
}

void TestConnectionDialogs::letterRoundTrip_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<bool>("output");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("written");
    QTest::newRow("a") << "a" << false << 1 << "a";
    QTest::newRow("j is VGA") << "j" << false << 4 << "j";
    QTest::newRow("d is AV") << "d" << true << 5 << "d";
    QTest::newRow("k") << "k" << false << 7 << "k";
    QTest::newRow("z writes 0") << "z" << true << 10 << "0";
    QTest::newRow("v writes 3") << "v" << true << 12 << "3";
    QTest::newRow("f input") << "f" << false << 13 << "f";
    QTest::newRow("e output") << "e" << true << 13 << "e";
    QTest::newRow("f on an output") << "f" << true << 0 << "*";
    QTest::newRow("e on an input") << "e" << false << 0 << "*";
    QTest::newRow("star") << "*" << false << 0 << "*";
    QTest::newRow("capital") << "A" << false << 0 << "*";
}

void TestConnectionDialogs::letterRoundTrip()
{
    QFETCH(QString, letter);
    QFETCH(bool, output);
    QFETCH(int, index);
    QFETCH(QString, written);
    QCOMPARE(CardTypeChoices::indexOfLetter(letter.at(0), output), index);
    QCOMPARE(QString(CardTypeChoices::letterOfIndex(index, output)), written);
}

void TestConnectionDialogs::rows_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("inLetters");
    QTest::addColumn<QString>("outLetters");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("inAfter");
    QTest::addColumn<QString>("outAfter");
    QTest::addColumn<int>("firstIn");
    QTest::addColumn<int>("firstOut");
    QTest::newRow("4 ports") << 4 << "" << "" << QStringList{"1-4"} << "*" << "*" << 0 << 0;
    QTest::newRow("8 ports") << 8 << "k" << "v" << QStringList{"1-4", "5-8"} << "k*" << "v*" << 7 << 12;
    QTest::newRow("16 ports padded") << 16 << "ab" << "eeeeee" << QStringList{"1-4", "5-8", "9-12", "13-16"}
                                     << "ab**" << "eeeeee" << 1 << 13;
}

void TestConnectionDialogs::rows()
{
    QFETCH(int, model);
    QFETCH(QString, inLetters);
    QFETCH(QString, outLetters);
    QFETCH(QStringList, labels);
    QFETCH(QString, inAfter);
    QFETCH(QString, outAfter);
    QFETCH(int, firstIn);
    QFETCH(int, firstOut);
    g_deviceModel = model;
    g_inCardTypes = inLetters;
    g_outCardTypes = outLetters;
    CSelectCardTypeDialog dialog;
    QCOMPARE(dialog.getTable()->rowCount(), labels.size());
    for (int r = 0; r < labels.size(); ++r)
        QCOMPARE(dialog.getTable()->item(r, 0)->text(), labels.at(r));
    QCOMPARE(g_inCardTypes, inAfter);
    QCOMPARE(g_outCardTypes, outAfter);
    QCOMPARE(dialog.inputCombos().first()->currentIndex(), firstIn);
    QCOMPARE(dialog.outputCombos().first()->currentIndex(), firstOut);
}

void TestConnectionDialogs::choosingWritesLetters_data()
{
    QTest::addColumn<bool>("output");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("inAfter");
    QTest::addColumn<QString>("outAfter");
    QTest::newRow("IP input") << false << 1 << 13 << "afa" << "aaa";
    QTest::newRow("Preview output") << true << 2 << 13 << "aaa" << "aae";
    QTest::newRow("NONE input") << false << 0 << 0 << "*aa" << "aaa";
    QTest::newRow("HDMI&VGA output") << true << 0 << 7 << "aaa" << "kaa";
}

void TestConnectionDialogs::choosingWritesLetters()
{
    QFETCH(bool, output);
    QFETCH(int, row);
    QFETCH(int, index);
    QFETCH(QString, inAfter);
    QFETCH(QString, outAfter);
    g_deviceModel = 12 - 12 % 4;
    g_inCardTypes = QStringLiteral("aaa");
    g_outCardTypes = QStringLiteral("aaa");
    CSelectCardTypeDialog dialog;
    (output ? dialog.outputCombos() : dialog.inputCombos()).at(row)->setCurrentIndex(index);
    QCOMPARE(g_inCardTypes, inAfter);
    QCOMPARE(g_outCardTypes, outAfter);
}

void TestConnectionDialogs::cancelKeepsLettersChanged()
{
    g_deviceModel = 8;
    g_inCardTypes = QStringLiteral("aa");
    g_outCardTypes = QStringLiteral("aa");
    CSelectCardTypeDialog dialog;
    AppTest::whenShown<CSelectCardTypeDialog>([](CSelectCardTypeDialog* d) {
        d->inputCombos().at(1)->setCurrentIndex(3);
        d->getCancelButton()->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(g_inCardTypes, QStringLiteral("ac"));
    QVERIFY(!QFile::exists(QStringLiteral("data/ClientConfig.dat")));
}

QTEST_MAIN(TestConnectionDialogs)
#include "tst_connectiondialogs.moc"
