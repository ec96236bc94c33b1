// The switching page in each interface language at 16 and 160 ports: texts translated, bulk
// buttons wide enough for their texts, pictures for looking at (VEXILO_SCREENSHOT_DIR).

#include "framework/FCheckabelButton.h"
#include "framework/LanguageSwitch.h"
#include "pages/switching/MCenterMainWindow.h"
#include "pagekit/MInputListWidget.h"
#include "pages/switching/MSenceListWidget.h"
#include "pages/switching/ScreenWidget.h"
#include "SwitchingTestEnv.h"
#include "framework/fpolygonButton.h"

#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

class tst_SwitchingShots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void page_data();
    void page();

private:
    std::unique_ptr<SwitchingTestEnv> env;
};

void tst_SwitchingShots::initTestCase()
{
    env = std::make_unique<SwitchingTestEnv>();
    QVERIFY(env->isValid());
}

void tst_SwitchingShots::cleanup()
{
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

void tst_SwitchingShots::page_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("ports");
    QTest::addColumn<QString>("switchAll");
    QTest::addColumn<QString>("nothing");
    QTest::addColumn<QString>("inputFold");
    QTest::addColumn<QString>("sceneCall");

    for (int ports : {16, 160}) {
        QTest::addRow("zh_CN %d", ports) << 0 << ports << QStringLiteral("切换所有") << QStringLiteral("无")
                                         << QStringLiteral("输\n入") << QStringLiteral("场景调用");
        QTest::addRow("zh_TW %d", ports) << 1 << ports << QStringLiteral("切換所有") << QStringLiteral("無")
                                         << QStringLiteral("輸\n入") << QStringLiteral("場景調用");
        QTest::addRow("en %d", ports) << 2 << ports << QStringLiteral("Switch All") << QStringLiteral("nothing")
                                      << QStringLiteral("I\nn\np\nu\nt") << QStringLiteral("Scene Call");
    }
}

void tst_SwitchingShots::page()
{
    QFETCH(int, language);
    QFETCH(int, ports);
    QFETCH(QString, switchAll);
    QFETCH(QString, nothing);
    QFETCH(QString, inputFold);
    QFETCH(QString, sceneCall);

    if (language == 0)
        setLanguageSimplifiedChinese();
    else if (language == 1)
        setLanguageTraditionalChinese();
    else
        setLanguageEnglish();
    g_languageIndex = language;

    // A mixed matrix: HDMI, SDI, 4K HDBT and empty slots, some ports named, a few routes.
    QString in = QStringLiteral("ac3a");
    QString out = QStringLiteral("ab*3");
    in = in.repeated(ports / 16);
    out = out.repeated(ports / 16);
    MatrixModel* model = env->useModel(ports, in, out);
    CardInfo named = model->getCardInfo(1);
    QJsonObject inCard = named.value(CardKey::InCard).toObject();
    inCard.insert(CardKey::Name, QStringLiteral("Camera 2"));
    named.insert(CardKey::InCard, inCard);
    model->setCardInfo(1, named);
    model->setRoute(0, 1);
    model->setRoute(1, 4);
    model->setRoute(5, 6);
    model->setRoute(15, 3);

    MCenterMainWindow page;
    page.resize(1366, 720);
    page.initConfig(false);
    page.senceListWidget()->sceneButtons().at(1)->click();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QCOMPARE(page.switchAllButton()->text(), switchAll);
    QCOMPARE(page.screenTiles().at(2)->inputText(), nothing);
    QCOMPARE(page.screenTiles().at(0)->inputText(), QStringLiteral("Camera 2"));
    QCOMPARE(page.inputFoldButton()->text(), inputFold);
    QCOMPARE(page.senceListWidget()->callButton()->text(), sceneCall);
    for (QPushButton* button : {page.switchAllButton(), page.closeAllButton(), page.pageUpButton(),
                                page.pageDownButton(), page.senceListWidget()->saveButton(),
                                page.senceListWidget()->callButton(), page.senceListWidget()->deleteButton()}) {
        QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(button->text()),
                 qPrintable(button->text()));
    }
    if (ports > 16)
        page.pageDownButton()->click();
    const char* names[] = {"zh_CN", "zh_TW", "en"};
    WidgetShots::save(&page, QStringLiteral("switching_%1_%2").arg(ports).arg(QLatin1String(names[language])));
}

QTEST_MAIN(tst_SwitchingShots)
#include "tst_switchingshots.moc"
