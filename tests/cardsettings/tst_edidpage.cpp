// The EDID page against a simulated 32-port matrix: input tiles of HDMI, 4K HDBT, HDMI&SDI,
// HDMI&VGA, SDI and HDBT cards; EDID sources from HDMI outputs but not SDI ones. Also the
// settings the EDID and input card pages store on the same port, in both orders.
#include "CardPagesEnv.h"
#include "pages/cardsettings/MInputCardSetting.h"
#include "pages/edid/EDIDOutListWidget.h"
#include "pages/edid/MEDIDSettingWidget.h"
#include "pages/switching/ScreenWidget.h"

#include <QPushButton>

class tst_EdidPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void tilesAndSources();
    void tileRules_data();
    void tileRules();
    void dropCopiesEdid();
    void builtInEdid();
    void pagesKeepEachOthersSettings_data();
    void pagesKeepEachOthersSettings();
    void copyNotRecordedWhenNotSent();

private:
    ScreenWidget* tileOf(int port) const
    {
        for (ScreenWidget* tile : page->findChildren<ScreenWidget*>()) {
            if (tile->getPortIndex() == port)
                return tile;
        }
        return nullptr;
    }
    QComboBox* box() const { return page->findChild<QComboBox*>(QStringLiteral("EDIDBox")); }
    QJsonObject inCard(int port) const { return env->model->getCardInfo(port).value(CardKey::InCard).toObject(); }

    std::unique_ptr<CardPagesEnv> env;
    MEDIDSettingWidget* page = nullptr;
};

void tst_EdidPage::initTestCase()
{
    env = std::make_unique<CardPagesEnv>();
    QString error;
    QVERIFY2(env->start(32, QStringLiteral("aa3ikcl*"), QStringLiteral("acaaaaaa"), &error), qPrintable(error));
}

void tst_EdidPage::init()
{
    env->freshModel();
    page = CardPagesEnv::freshPage<MEDIDSettingWidget>();
}

void tst_EdidPage::cleanupTestCase()
{
    WidgetShots::save(page, QStringLiteral("edid_page"));
    delete page;
    env.reset();
}

void tst_EdidPage::tilesAndSources()
{
    // The first row is the built-in EDID choice; then the HDMI outputs, not the SDI ones.
    QList<int> sources = CardPagesEnv::listedPorts(page);
    QCOMPARE(sources.mid(0, 5), (QList<int>{0, 1, 2, 3, 8}));
    QCOMPARE(sources.size(), 28);
    QVERIFY(!page->findChild<QLineEdit*>(QStringLiteral("InputFindEdit")));
    auto* tree = page->findChild<MInputTreeList*>(QStringLiteral("EDIDTreeWidget"));
    QCOMPARE(tree->topLevelItem(0)->data(0, Qt::UserRole).toInt(), -1);
    QCOMPARE(tree->itemWidget(tree->topLevelItem(0), 0)->findChild<QComboBox*>(), box());

    // Sixteen tiles a page, paging wraps both ways.
    QCOMPARE(page->findChildren<ScreenWidget*>().size(), 16);
    QCOMPARE(tileOf(0)->outputText(), QStringLiteral("HDMI-1"));
    QCOMPARE(tileOf(0)->inputText(), QStringLiteral("无"));
    page->findChild<QPushButton*>(QStringLiteral("PageDownBtn"))->click();
    QVERIFY(tileOf(16) && tileOf(31) && !tileOf(0));
    page->findChild<QPushButton*>(QStringLiteral("PageDownBtn"))->click();
    QVERIFY(tileOf(0));
    page->findChild<QPushButton*>(QStringLiteral("PageUpBtn"))->click();
    QVERIFY(tileOf(31));
}

void tst_EdidPage::tileRules_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("HDMI") << 4 << true;
    QTest::newRow("4K HDBT, even index") << 8 << false;
    QTest::newRow("4K HDBT, odd index") << 9 << true;
    QTest::newRow("HDMI half of HDMI&SDI") << 13 << true;
    QTest::newRow("SDI half of HDMI&SDI") << 14 << false;
    QTest::newRow("HDMI half of HDMI&VGA") << 16 << true;
    QTest::newRow("VGA half of HDMI&VGA") << 18 << false;
    QTest::newRow("SDI") << 20 << false;
    QTest::newRow("HDBT") << 24 << true;
    QTest::newRow("empty slot") << 28 << false;
}

void tst_EdidPage::tileRules()
{
    QFETCH(int, port);
    QFETCH(bool, enabled);
    page->refreshPage(port / 16);
    QCOMPARE(tileOf(port)->isEnabled(), enabled);
}

void tst_EdidPage::dropCopiesEdid()
{
    env->clearReceived();
    CardPagesEnv::dropPort(tileOf(4), 2);
    // The source goes out as the output's 0-based index, the input as its number.
    QVERIFY2(env->waitForCommand(QStringLiteral("/EDIDCopy:2:5;")), qPrintable(env->received().join(' ')));
    QCOMPARE(inCard(4).value(QStringLiteral("EDID-OUT")).toInt(-1), 2);
    QCOMPARE(tileOf(4)->inputText(), QStringLiteral("HDMI-3"));
    QTRY_COMPARE(env->matrixSettings('I', 4).value(QStringLiteral("EDIDCopy")), QByteArray("3"));
    // Loaded again, the tile still names the source.
    page->initConfig(true);
    QCOMPARE(tileOf(4)->inputText(), QStringLiteral("HDMI-3"));
}

void tst_EdidPage::builtInEdid()
{
    env->clearReceived();
    tileOf(4)->mouseClick();   // what the tile emits 300 ms after a press
    QVERIFY(tileOf(4)->isSelected());
    QVERIFY(box()->isEnabled());
    QCOMPARE(box()->currentText(), QStringLiteral("1080P-2D-2.0"));
    QVERIFY(env->receivedSettled().isEmpty());   // filling the box sends nothing

    box()->setCurrentIndex(box()->findText(QStringLiteral("720P-2D-2.0")));
    QCOMPARE(env->received(), QStringList{"/EDID:5:6;"});
    QCOMPARE(inCard(4).value(QStringLiteral("internal_edid")).toInt(-1), box()->currentIndex());
    QCOMPARE(env->matrixSettings('I', 4).value(QStringLiteral("EDID")), QByteArray("6"));

    // A refused choice is taken back; the matrix keeps its EDID.
    QVERIFY(env->sim.accepts(QStringLiteral("refuse")));
    box()->setCurrentIndex(0);
    QCOMPARE(box()->currentText(), QStringLiteral("720P-2D-2.0"));
    QCOMPARE(env->matrixSettings('I', 4).value(QStringLiteral("EDID")), QByteArray("6"));
    // A second choice while the first waits is not taken: the box ends on what the matrix holds.
    const int fourK = box()->findText(QStringLiteral("4K30-2D-2.0"));
    QVERIFY(env->chooseTwiceDuringWait(box(), fourK, 0));
    QCOMPARE(box()->currentIndex(), fourK);
    QCOMPARE(inCard(4).value(QStringLiteral("internal_edid")).toInt(-1), fourK);
    QCOMPARE(env->matrixSettings('I', 4).value(QStringLiteral("EDID")), QByteArray("10"));

    // The highlight stays with input 4 across paging, not with the tile's place.
    page->findChild<QPushButton*>(QStringLiteral("PageDownBtn"))->click();
    QVERIFY(!tileOf(20)->isSelected());
    page->findChild<QPushButton*>(QStringLiteral("PageUpBtn"))->click();
    QVERIFY(tileOf(4)->isSelected());
    tileOf(5)->mouseClick();
    QVERIFY(!tileOf(4)->isSelected() && tileOf(5)->isSelected());
    QCOMPARE(box()->currentText(), QStringLiteral("1080P-2D-2.0"));
}

void tst_EdidPage::pagesKeepEachOthersSettings_data()
{
    QTest::addColumn<bool>("edidFirst");
    QTest::newRow("EDID copy, then a slider") << true;
    QTest::newRow("slider, then a built-in EDID") << false;
}

void tst_EdidPage::pagesKeepEachOthersSettings()
{
    QFETCH(bool, edidFirst);
    MInputCardSetting* inputs = CardPagesEnv::freshPage<MInputCardSetting>();
    QVERIFY(CardPagesEnv::selectPort(inputs, 4));
    tileOf(4)->mouseClick();
    auto* brightness = inputs->findChild<QSlider*>(QStringLiteral("horizontalSlider_2"));
    if (edidFirst) {
        CardPagesEnv::dropPort(tileOf(4), 2);
        CardPagesEnv::release(brightness, 30);
    } else {
        CardPagesEnv::release(brightness, 30);
        box()->setCurrentIndex(box()->findText(QStringLiteral("4K30-2D-2.0")));
    }
    QVERIFY(env->waitForCommand(QStringLiteral("/InBright:5:30;")));
    const QJsonObject in = inCard(4);
    QCOMPARE(in.value(QStringLiteral("brightness")).toInt(), 30);
    if (edidFirst)
        QCOMPARE(in.value(QStringLiteral("EDID-OUT")).toInt(-1), 2);
    else
        QCOMPARE(in.value(QStringLiteral("internal_edid")).toInt(-1), box()->findText(QStringLiteral("4K30-2D-2.0")));
    delete inputs;
}

void tst_EdidPage::copyNotRecordedWhenNotSent()
{
    CCHelper::instance()->disConnectToDevice();
    CardPagesEnv::dropPort(tileOf(5), 1);
    QVERIFY(!inCard(5).contains(QStringLiteral("EDID-OUT")));
    QCOMPARE(tileOf(5)->inputText(), QStringLiteral("无"));
}

QTEST_MAIN(tst_EdidPage)
#include "tst_edidpage.moc"
