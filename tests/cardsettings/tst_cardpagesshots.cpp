// The input, output and EDID pages in each interface language: label texts translated, option
// lists from that language's template files, no label or button narrower than its text, and
// pictures for looking at (VEXILO_SCREENSHOT_DIR).
#include "CardPagesEnv.h"
#include "framework/LanguageSwitch.h"
#include "pages/cardsettings/MInputCardSetting.h"
#include "pages/cardsettings/MOutputCardSetting.h"
#include "pages/edid/MEDIDSettingWidget.h"
#include "pages/switching/ScreenWidget.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>

class tst_CardPagesShots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pages_data();
    void pages();

private:
    static void verifyTextsFit(QWidget* page);
    std::unique_ptr<CardPagesEnv> env;
};

void tst_CardPagesShots::initTestCase()
{
    env = std::make_unique<CardPagesEnv>();
    QVERIFY(env->isValid());
}

void tst_CardPagesShots::cleanup()
{
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

void tst_CardPagesShots::verifyTextsFit(QWidget* page)
{
    QCoreApplication::processEvents();   // the layouts settle after a port is loaded
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->isVisibleTo(page) && !label->text().isEmpty())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(page) && !button->text().isEmpty())
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
    }
}

void tst_CardPagesShots::pages_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("brightness");
    QTest::addColumn<QString>("embedded");
    QTest::addColumn<QString>("stream");
    QTest::addColumn<QString>("builtIn");

    QTest::newRow("zh_CN") << 0 << "亮   度：" << "嵌入音频" << "子码流" << "内置EDID列表";
    QTest::newRow("zh_TW") << 1 << "亮   度：" << "嵌入音訊" << "子碼流" << "內建EDID列表";
    QTest::newRow("en") << 2 << "brightness:" << "Embedded" << "Subcode flow" << "Built-in EDID list";
}

void tst_CardPagesShots::pages()
{
    QFETCH(int, language);
    QFETCH(QString, brightness);
    QFETCH(QString, embedded);
    QFETCH(QString, stream);
    QFETCH(QString, builtIn);

    if (language == 0)
        setLanguageSimplifiedChinese();
    else if (language == 1)
        setLanguageTraditionalChinese();
    else
        setLanguageEnglish();
    g_languageIndex = language;
    env->useModel(16, QStringLiteral("a3ci"), QStringLiteral("aeci"));
    const QString name = QLatin1String(QList<const char*>{"zh_CN", "zh_TW", "en"}.at(language));

    MInputCardSetting* inputs = CardPagesEnv::freshPage<MInputCardSetting>();
    QVERIFY(QTest::qWaitForWindowExposed(inputs));
    QVERIFY(CardPagesEnv::selectPort(inputs, 1));
    QCOMPARE(inputs->findChild<QLabel*>(QStringLiteral("label_9"))->text(), brightness);
    QCOMPARE(inputs->findChild<QComboBox*>(QStringLiteral("comboBox"))->itemText(0), embedded);
    verifyTextsFit(inputs);
    WidgetShots::save(inputs, QStringLiteral("input_settings_%1").arg(name));
    delete inputs;

    MOutputCardSetting* outputs = CardPagesEnv::freshPage<MOutputCardSetting>();
    QVERIFY(QTest::qWaitForWindowExposed(outputs));
    QVERIFY(CardPagesEnv::selectPort(outputs, 4));
    QCOMPARE(outputs->findChild<QRadioButton*>(QStringLiteral("subStreamRadio"))->text(), stream);
    verifyTextsFit(outputs);
    WidgetShots::save(outputs, QStringLiteral("output_settings_preview_%1").arg(name));
    QVERIFY(CardPagesEnv::selectPort(outputs, 0));
    verifyTextsFit(outputs);
    WidgetShots::save(outputs, QStringLiteral("output_settings_%1").arg(name));
    delete outputs;

    MEDIDSettingWidget* edid = CardPagesEnv::freshPage<MEDIDSettingWidget>();
    QVERIFY(QTest::qWaitForWindowExposed(edid));
    edid->findChildren<ScreenWidget*>().at(1)->mouseClick();
    QCOMPARE(edid->findChild<QLabel*>()->text(), builtIn);
    verifyTextsFit(edid);
    WidgetShots::save(edid, QStringLiteral("edid_%1").arg(name));
    delete edid;
}

QTEST_MAIN(tst_CardPagesShots)
#include "tst_cardpagesshots.moc"
