// The panel and the editor in each interface language, skinned: every text translated, every
// label and button wide enough for its text; pictures for looking at (VEXILO_SCREENSHOT_DIR).

#include "PanelFixture.h"
#include "WidgetShots.h"

#include "framework/LanguageSwitch.h"
#include "ipcard/panel/VideoSourceConfigDialog.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTranslator>

class TestPanelShots : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void panel_data();
    void panel();

private:
    // Labels and buttons shown on widget whose text does not fit.
    static QStringList clipped(QWidget* widget);
    static void show(QWidget* widget);
};

void TestPanelShots::cleanup()
{
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

QStringList TestPanelShots::clipped(QWidget* widget)
{
    QStringList found;
    for (QLabel* label : widget->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty() && label->width() < label->sizeHint().width())
            found << label->text();
    }
    for (QPushButton* button : widget->findChildren<QPushButton*>()) {
        if (button->isVisible() && button->width() < button->fontMetrics().horizontalAdvance(button->text()))
            found << button->text();
    }
    // A field too narrow for its text scrolls it: with the cursor at the end, the start is gone.
    for (QLineEdit* edit : widget->findChildren<QLineEdit*>()) {
        if (!edit->isVisible() || edit->text().isEmpty() || edit->echoMode() != QLineEdit::Normal)
            continue;
        edit->end(false);
        edit->repaint();   // the field scrolls its text as it paints
        if (edit->cursorPositionAt(QPoint(edit->contentsRect().left() + 1, edit->height() / 2)) > 0)
            found << edit->text();
        edit->home(false);
    }
    return found;
}

void TestPanelShots::show(QWidget* widget)
{
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget));
}

void TestPanelShots::panel_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("logTab");
    QTest::newRow("zh_CN") << 0 << "连接" << "日志信息";
    QTest::newRow("zh_TW") << 1 << "連接" << "日誌信息";
    QTest::newRow("en") << 2 << "Connect" << "Log";
}

void TestPanelShots::panel()
{
    QFETCH(int, language);
    const char* names[] = {"zh_CN", "zh_TW", "en"};
    const QString lang = QLatin1String(names[language]);
    if (language == 0)
        setLanguageSimplifiedChinese();
    else if (language == 1)
        setLanguageTraditionalChinese();
    else
        setLanguageEnglish();

    PanelFixture f(5, language + 1);
    QVERIFY(f.isReady());
    WidgetShots::SkinnedWorkDir skin;   // after the fixture's folder: the skin's pictures are found
    QVERIFY(skin.isSkinned());
    QVERIFY(f.card.control(QStringLiteral("log %1 20").arg(f.card.host())).startsWith("OK"));
    HisliconConfigDialog* panel = f.panel.get();
    panel->resize(1100, 640);
    show(panel);
    QTEST(f.child<QPushButton>("pushButtonConnect")->text(), "connect");
    QCOMPARE(clipped(panel), QStringList());
    WidgetShots::save(panel, QStringLiteral("ipcardpanel_%1_connection").arg(lang));

    QVERIFY(panel->onClickConnect());
    f.click("pushButtonFindLog");
    auto* tabs = f.child<QTabWidget>("tabWidget");
    QTEST(tabs->tabText(3), "logTab");
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        QCOMPARE(clipped(tabs->currentWidget()), QStringList());
        WidgetShots::save(panel, QStringLiteral("ipcardpanel_%1_tab%2").arg(lang).arg(tab));
    }

    VideoSourceConfigDialog editor;
    show(&editor);
    // The widest address a camera can have.
    editor.findChild<QLineEdit*>(QStringLiteral("lineEditAddress"))->setText(QStringLiteral("255.255.255.255"));
    QCOMPARE(clipped(&editor), QStringList());
    WidgetShots::save(&editor, QStringLiteral("ipcardpanel_%1_editor").arg(lang));
    QVERIFY(f.boxes.texts.isEmpty());
}

PANEL_TEST_MAIN(TestPanelShots)
#include "tst_panelshots.moc"
