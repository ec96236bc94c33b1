// The output card settings page against a simulated 32-port matrix whose output slots hold
// 4K HDBT, preview, SDI, HDMI&SDI, HDMI, 4K HDMI and 4K fibre cards and one empty slot.
#include "CardPagesEnv.h"
#include "pages/cardsettings/MOutputCardSetting.h"
#include "pages/cardsettings/OutDataSettingWidget.h"

#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

class tst_OutputCardSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void listAndPreviewDefaults();
    void stepsByType_data();
    void stepsByType();
    void stepButtonWaitsForItsCommand();
    void previewAddress_data();
    void previewAddress();
    void previewStreamStoredOnce();
    void previewControlsNeedAPreviewCard();
    void nothingBeforeASelection();

private:
    template <typename T>
    T* control(const char* name) const
    {
        return page->findChild<T*>(QLatin1String(name));
    }
    QJsonObject outCard(int port) const { return env->model->getCardInfo(port).value(CardKey::OutCard).toObject(); }

    std::unique_ptr<CardPagesEnv> env;
    MOutputCardSetting* page = nullptr;
};

void tst_OutputCardSettings::initTestCase()
{
    env = std::make_unique<CardPagesEnv>();
    QString error;
    QVERIFY2(env->start(32, QStringLiteral("aaaaaaaa"), QStringLiteral("3eciaz1*"), &error), qPrintable(error));
}

void tst_OutputCardSettings::init()
{
    env->freshModel();
    page = CardPagesEnv::freshPage<MOutputCardSetting>();
}

void tst_OutputCardSettings::cleanupTestCase()
{
    env.reset();
}

void tst_OutputCardSettings::listAndPreviewDefaults()
{
    // The preview card once, at its first port; the 4K HDBT card at its odd ports only.
    const QList<int> listed = CardPagesEnv::listedPorts(page);
    QCOMPARE(listed.mid(0, 3), (QList<int>{1, 3, 4}));
    QCOMPARE(listed.size(), 2 + 1 + 4 * 6);   // the empty slot's rows too, disabled

    QVERIFY(CardPagesEnv::selectPort(page, 4));
    QCOMPARE(control<QStackedWidget>("stackedWidget")->currentIndex(), 1);
    QCOMPARE(control<QLineEdit>("previewNameEdit")->text(), QStringLiteral("Preview-5"));
    QCOMPARE(control<QLineEdit>("previewIpEdit")->text(), QStringLiteral("192.168.0.178"));
    QVERIFY(control<QRadioButton>("mainStreamRadio")->isChecked());
    QCOMPARE(control<QComboBox>("mainStreamBox")->currentText(), QStringLiteral("1920x1080P 30"));
    QCOMPARE(control<QComboBox>("subStreamBox")->currentText(), QStringLiteral("1280x720 P 30"));

    // Leaving a name field for another port (the page switches) names no other port.
    page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page));
    control<QLineEdit>("previewNameEdit")->setFocus();
    QVERIFY(CardPagesEnv::selectPort(page, 16));
    QVERIFY(!outCard(16).contains(CardKey::Name));
    QCOMPARE(control<QLineEdit>("lineEdit")->text(), QStringLiteral("HDMI-17"));
    QVERIFY(CardPagesEnv::selectPort(page, 4));

    control<QComboBox>("subStreamBox")->setCurrentIndex(3);
    QCOMPARE(env->received(), QStringList{"/PrvSub:5:360P30;"});
    QCOMPARE(outCard(4).value(QStringLiteral("subResolution")).toInt(), 3);
    QCOMPARE(env->matrixSettings('O', 4).value(QStringLiteral("PrvSub")), QByteArray("360P30"));
}

void tst_OutputCardSettings::stepsByType_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("steps");
    QTest::addColumn<QString>("resolution");

    QTest::newRow("4K HDBT") << 1 << "4K HDBT-2" << false << "1920x1080P 60";
    QTest::newRow("SDI") << 8 << "SDI-9" << false << "1920x1080P 60";
    QTest::newRow("HDMI half of HDMI&SDI") << 12 << "HDMI&SDI-13" << true << "1920x1080P 60";
    QTest::newRow("SDI half of HDMI&SDI") << 14 << "HDMI&SDI-15" << false << "1920x1080P 60";
    QTest::newRow("HDMI") << 16 << "HDMI-17" << true << "1920x1080P 60";
    QTest::newRow("4K HDMI") << 20 << "4K HDMI-21" << false << "1920x1080P 60";
    QTest::newRow("4K fibre") << 24 << "4K Fiber-25" << false << "1920x1080P 60";
}

void tst_OutputCardSettings::stepsByType()
{
    QFETCH(int, port);
    QFETCH(QString, name);
    QFETCH(bool, steps);
    QFETCH(QString, resolution);

    QVERIFY(CardPagesEnv::selectPort(page, port));
    QCOMPARE(control<QStackedWidget>("stackedWidget")->currentIndex(), 0);
    QCOMPARE(control<QLineEdit>("lineEdit")->text(), name);
    QCOMPARE(control<QComboBox>("comboBox")->currentText(), resolution);
    for (int i = 1; i <= 6; ++i) {
        const QString button = i == 1 ? QStringLiteral("pushButton") : QStringLiteral("pushButton_%1").arg(i);
        QCOMPARE(control<QPushButton>(qPrintable(button))->isEnabled(), steps);
    }
    if (!steps)
        return;
    env->clearReceived();
    control<QPushButton>("pushButton")->click();
    control<QPushButton>("pushButton_6")->click();
    const QString number = QString::number(port + 1);
    QCOMPARE(env->received(), (QStringList{"/OutBright:" + number + ":+;", "/OutSat:" + number + ":-;"}));
    QCOMPARE(env->matrixSettings('O', port).value(QStringLiteral("OutBright")), QByteArray("51"));
    QCOMPARE(env->matrixSettings('O', port).value(QStringLiteral("OutSat")), QByteArray("49"));
    QVERIFY(!outCard(port).contains(QStringLiteral("brightness")));
}

void tst_OutputCardSettings::stepButtonWaitsForItsCommand()
{
    QVERIFY(CardPagesEnv::selectPort(page, 17));
    auto* plus = control<QPushButton>("pushButton_3");
    env->sim.controlOk(QStringLiteral("delay 400 count=1"));
    bool disabledMeanwhile = false;
    QTimer::singleShot(150, plus, [&] { disabledMeanwhile = !plus->isEnabled(); });
    plus->click();
    QVERIFY(disabledMeanwhile);
    QVERIFY(plus->isEnabled());
    QCOMPARE(env->received(), QStringList{"/OutContrast:18:+;"});
}

void tst_OutputCardSettings::previewAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("sent");      // as devicesim prints it; empty: nothing
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");

    // 15 bytes: "USER/O/5:", the four address bytes, "%;". devicesim takes loopback addresses only.
    QTest::newRow("refused by the matrix") << "192.168.1.20" << "USER/O/5:\\xc0\\xa8\\x01\\x14%;" << "修改失败!"
                                           << "";
    QTest::newRow("taken") << "127.0.0.20" << "USER/O/5:\\x7f\\x00\\x00\\x14%;" << "预览卡IP修改成功，重启软件生效!"
                           << "127.0.0.20";
    QTest::newRow("part above 255") << "127.0.0.256" << "" << "IP地址无效" << "";
    QTest::newRow("three parts") << "127.0.1" << "" << "IP地址无效" << "";
}

void tst_OutputCardSettings::previewAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, sent);
    QFETCH(QString, message);
    QFETCH(QString, stored);

    QVERIFY(CardPagesEnv::selectPort(page, 4));
    env->clearReceived();
    control<QLineEdit>("previewIpEdit")->setText(address);
    QStringList texts;
    CardPagesEnv::dismissNextModal(&texts);
    control<QPushButton>("previewIpButton")->click();
    QTRY_VERIFY(texts.contains(message));
    QCOMPARE(env->received(), sent.isEmpty() ? QStringList() : QStringList{sent});
    QCOMPARE(outCard(4).value(CardKey::PreviewIp).toString(), stored);
}

void tst_OutputCardSettings::previewStreamStoredOnce()
{
    QVERIFY(CardPagesEnv::selectPort(page, 4));
    QSignalSpy changes(env->model, &MatrixModel::recordChanged);
    control<QRadioButton>("subStreamRadio")->click();
    QCOMPARE(outCard(4).value(QStringLiteral("previewType")).toInt(), 1);
    control<QRadioButton>("subStreamRadio")->click();
    QCOMPARE(changes.count(), 1);
    // Loading the card again shows the stored stream and sends nothing.
    QVERIFY(CardPagesEnv::selectPort(page, 16));
    QVERIFY(CardPagesEnv::selectPort(page, 4));
    QVERIFY(control<QRadioButton>("subStreamRadio")->isChecked());
    QVERIFY(env->receivedSettled().isEmpty());
}

void tst_OutputCardSettings::previewControlsNeedAPreviewCard()
{
    // The preview page of port 5 stays up when a port without a card (its row is disabled, so
    // only the list's signal selects it) is selected after it.
    QVERIFY(CardPagesEnv::selectPort(page, 4));
    page->findChild<OutDataSettingWidget*>()->onSelectCardIndexChanged(28);
    QCOMPARE(control<QStackedWidget>("stackedWidget")->currentIndex(), 1);
    env->clearReceived();
    QSignalSpy changes(env->model, &MatrixModel::recordChanged);
    control<QRadioButton>("subStreamRadio")->click();
    control<QLineEdit>("previewIpEdit")->setText(QStringLiteral("127.0.0.21"));
    int boxes = 0;
    QTimer closer;   // a message box would wait for the operator
    connect(&closer, &QTimer::timeout, [&boxes] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ++boxes;
            box->close();
        }
    });
    closer.start(20);
    control<QPushButton>("previewIpButton")->click();
    QCOMPARE(boxes, 0);
    QVERIFY(env->receivedSettled().isEmpty());
    QCOMPARE(changes.count(), 0);
}

void tst_OutputCardSettings::nothingBeforeASelection()
{
    // A panel of its own: the page's panel has a port selected as soon as its list is filled.
    delete page;
    OutDataSettingWidget panel;
    panel.show();
    QSignalSpy changes(env->model, &MatrixModel::recordChanged);
    const int records = env->model->cardCount();
    panel.findChild<QLineEdit*>(QStringLiteral("previewIpEdit"))->setText(QStringLiteral("127.0.0.21"));
    panel.findChild<QPushButton*>(QStringLiteral("previewIpButton"))->click();
    CardPagesEnv::typeAndFinish(panel.findChild<QLineEdit*>(QStringLiteral("previewNameEdit")), QStringLiteral("x"));
    panel.findChild<QRadioButton*>(QStringLiteral("subStreamRadio"))->click();
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(env->receivedSettled().isEmpty());
    QCOMPARE(changes.count(), 0);
    QCOMPARE(env->model->cardCount(), records);
}

QTEST_MAIN(tst_OutputCardSettings)
#include "tst_outputcardsettings.moc"
