// The card's address through the matrix: reading it for either processor of the card, changing
// it (the card follows), and the matrix following a card whose network settings were saved.
// The whole simulator runs: matrix, and the IP card of slot 2 with its two processors.

#include "DeviceSimProcess.h"
#include "PanelFixture.h"
#include "WidgetShots.h"

#include "core/CCHelper.h"
#include "core/CardInfo.h"
#include "core/MatrixModel.h"
#include "framework/FInputDialog.h"
#include "pagekit/PageModel.h"

#include <QLineEdit>
#include <QTcpSocket>

namespace {
const QString kFirst = QStringLiteral("127.14.9.11");    // ports 5 and 6 of the matrix
const QString kSecond = QStringLiteral("127.14.9.12");   // ports 7 and 8
}

class TestPanelMatrix : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void readsTheAddressOfItsOwnProcessor_data();
    void readsTheAddressOfItsOwnProcessor();
    void addressChangeMovesTheCard();
    void networkSaveMovesTheMatrixTable();

private:
    QString storedAddress(int port) const
    {
        return PageModel::model()->getCardInfo(port).value(CardKey::InCard).toObject().value(CardKey::Ip).toString();
    }
    static bool listening(const QString& address)
    {
        QTcpSocket probe;
        probe.connectToHost(address, HisliconConfigDialog::CardPort);
        return probe.waitForConnected(500);
    }

    TempWorkDir dir;
    DeviceSimProcess sim;
    std::unique_ptr<BoxCatcher> boxes;
    std::unique_ptr<HisliconConfigDialog> panel;
};

void TestPanelMatrix::initTestCase()
{
    LoopbackGuard::setActiveForTesting(true);
    QVERIFY(WidgetShots::copyTree(QString::fromLocal8Bit(qgetenv("VEXILO_BIN_DIR")) + QStringLiteral("/data"),
                                  dir.filePath(QStringLiteral("data"))));
    QVERIFY2(sim.start({QStringLiteral("--in-cards"), QStringLiteral("af"), QStringLiteral("--ipcard-base"), kFirst,
                        QStringLiteral("--no-streams")},
                       QStringLiteral("127.14.9.1")),
             qPrintable(sim.errorString()));
    CCHelper::instance()->connectToDevice(0, sim.address(), sim.port(), QString());
    QVERIFY(CCHelper::instance()->isConnected());
    QVERIFY(sim.controlOk(QStringLiteral("ipcard downtime all 0")).isEmpty() && sim.lastAnswer() == "OK");
}

void TestPanelMatrix::init()
{
    openIpCardLinks.clear();
    boxes = std::make_unique<BoxCatcher>();
    panel = std::make_unique<HisliconConfigDialog>(QString());
}

void TestPanelMatrix::cleanupTestCase()
{
    panel.reset();
    delete CCHelper::instance();
    sim.stop();
}

void TestPanelMatrix::readsTheAddressOfItsOwnProcessor_data()
{
    QTest::addColumn<int>("cardIndex");
    QTest::addColumn<QString>("address");
    QTest::newRow("port 5, first processor") << 4 << kFirst;
    QTest::newRow("port 6, first processor") << 5 << kFirst;
    QTest::newRow("port 7, second processor") << 6 << kSecond;
    QTest::newRow("port 8, second processor") << 7 << kSecond;
}

void TestPanelMatrix::readsTheAddressOfItsOwnProcessor()
{
    QFETCH(int, cardIndex);
    QFETCH(QString, address);
    panel->setCardIndex(cardIndex);
    panel->findChild<QPushButton*>(QStringLiteral("pushButtonUpdateIp"))->click();
    QCOMPARE(panel->findChild<QLineEdit*>(QStringLiteral("lineEditIp"))->text(), address);
    QCOMPARE(storedAddress(cardIndex), address);
    QCOMPARE(storedAddress(cardIndex ^ 1), address);
    QVERIFY(boxes->texts.isEmpty());
}

void TestPanelMatrix::addressChangeMovesTheCard()
{
    const QString moved = QStringLiteral("127.14.9.40");
    panel->setCardIndex(6);
    panel->refreshConnectState(kSecond);
    // A wrong address first: refused, and the dialog opens again preset with the old one.
    QStringList presets;
    QStringList typed{QStringLiteral("127.14.9"), moved};
    QPointer<QWidget> answered;
    QTimer driver;
    connect(&driver, &QTimer::timeout, this, [&] {
        auto* input = qobject_cast<FInputDialog*>(QApplication::activeModalWidget());
        if (!input || input == answered || typed.isEmpty())
            return;   // the one answered may still be folding shut
        answered = input;
        presets << input->getLineEdit()->text();
        input->getLineEdit()->setText(typed.takeFirst());
        input->getOkButton()->click();
    });
    driver.start(15);
    panel->findChild<QPushButton*>(QStringLiteral("pushButtonChangeIp"))->click();
    QCOMPARE(presets, (QStringList{kSecond, kSecond}));
    QCOMPARE(boxes->take(), (QStringList{QStringLiteral("IP地址无效"), QStringLiteral("修改IP成功,请重新连接!")}));
    QCOMPARE(storedAddress(6), moved);
    QCOMPARE(storedAddress(7), moved);
    QCOMPARE(panel->cardAddress(), moved);

    // The matrix moved the card: the panel reaches it there.
    QVERIFY(QTest::qWaitFor([&] { return listening(moved); }, 30000));
    QVERIFY(panel->onClickConnect());
    QCOMPARE(panel->findChild<QLineEdit*>(QStringLiteral("lineEditHostAddr"))->text(), moved);
    panel->findChild<QPushButton*>(QStringLiteral("pushButtonUpdateIp"))->click();
    QCOMPARE(panel->findChild<QLineEdit*>(QStringLiteral("lineEditIp"))->text(), moved);
}

void TestPanelMatrix::networkSaveMovesTheMatrixTable()
{
    const QString moved = QStringLiteral("127.14.9.41");
    panel->setCardIndex(4);
    panel->refreshConnectState(kFirst);
    QVERIFY(panel->onClickConnect());
    panel->findChild<QLineEdit*>(QStringLiteral("lineEditHostAddr"))->setText(moved);
    panel->findChild<QPushButton*>(QStringLiteral("pushButtonNetworkSave"))->click();
    QCOMPARE(boxes->take(), QStringList{QStringLiteral("保存成功！")});
    QCOMPARE(storedAddress(5), moved);
    QVERIFY(QTest::qWaitFor([&] { return listening(moved); }, 30000));
    // What the matrix reports now is the card's new address.
    panel->findChild<QLineEdit*>(QStringLiteral("lineEditIp"))->clear();
    panel->findChild<QPushButton*>(QStringLiteral("pushButtonUpdateIp"))->click();
    QCOMPARE(panel->findChild<QLineEdit*>(QStringLiteral("lineEditIp"))->text(), moved);
}

PANEL_TEST_MAIN(TestPanelMatrix)
#include "tst_panelmatrix.moc"
