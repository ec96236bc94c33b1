// The scene panel against a simulated matrix: scene numbers per model, the recall flag, the
// messages, the exclusive choice and renaming into data/ClientConfig.dat.

#include "framework/FCheckabelButton.h"
#include "pages/switching/MSenceListWidget.h"
#include "SwitchingTestEnv.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include <memory>

class tst_Scenes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sceneNumbers_data();
    void sceneNumbers();
    void recallFlagAndMessages();
    void missingTemplateFails_data();
    void missingTemplateFails();
    void exclusiveChoice();
    void renameWritesName();
    void blankNameIsUndone();
    void nameLengthLimit();

private:
    bool startMatrix(int ports);
    QStringList press(QPushButton* button);
    void rename(MSenceListWidget& panel, int index, const QString& typed, bool selectAll);

    std::unique_ptr<SwitchingTestEnv> env;
};

void tst_Scenes::initTestCase()
{
    env = std::make_unique<SwitchingTestEnv>();
    QVERIFY(env->isValid());
}

bool tst_Scenes::startMatrix(int ports)
{
    env->useModel(ports, QString(ports / 4, QLatin1Char('a')), QString(ports / 4, QLatin1Char('a')));
    QString error;
    if (!env->startMatrix(&error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    env->clearReceived();
    return true;
}

// Clicks the button and closes the message box it shows; the title and text of that box.
QStringList tst_Scenes::press(QPushButton* button)
{
    QStringList texts;
    SwitchingTestEnv::dismissNextModal(&texts);
    button->click();
    texts.removeAll(QString());   // the icon label
    return texts;
}

void tst_Scenes::sceneNumbers_data()
{
    QTest::addColumn<int>("ports");
    QTest::addColumn<int>("checked");
    QTest::addColumn<int>("number");

    QTest::newRow("model 8, none checked") << 8 << -1 << 0;
    QTest::newRow("model 160, none checked") << 160 << -1 << 1;
    QTest::newRow("model 160, tenth") << 160 << 9 << 10;
    QTest::newRow("model 64, tenth") << 64 << 9 << 9;
    QTest::newRow("model 64, third") << 64 << 2 << 2;
}

void tst_Scenes::sceneNumbers()
{
    QFETCH(int, ports);
    QFETCH(int, checked);
    QFETCH(int, number);

    QVERIFY(startMatrix(ports));
    MSenceListWidget panel;
    if (checked >= 0)
        panel.sceneButtons().at(checked)->click();

    QCOMPARE(press(panel.saveButton()).join(QLatin1Char('|')), QStringLiteral("提示|保存场景成功！"));
    QCOMPARE(press(panel.callButton()).join(QLatin1Char('|')), QStringLiteral("提示|调用场景成功！"));
    QCOMPARE(press(panel.deleteButton()).join(QLatin1Char('|')), QStringLiteral("提示|删除场景成功！"));
    const QString n = QString::number(number);
    // The matrix's "Recall" report makes the console ask for the routes again.
    QCOMPARE(env->received(), (QStringList{QStringLiteral("/SceneSave:%1;").arg(n), QStringLiteral("/SceneCall:%1;").arg(n),
                                           QStringLiteral("/IOStatus;"), QStringLiteral("/SceneClear:%1;").arg(n)}));
    QCOMPARE(QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat)
                 .value(QStringLiteral("CLIENT_INFO/CurrentSencce"))
                 .toInt(),
             number);
}

void tst_Scenes::recallFlagAndMessages()
{
    QVERIFY(startMatrix(16));
    MSenceListWidget panel;
    panel.sceneButtons().at(4)->click();
    QVERIFY(!panel.isSceneCalling());

    // Scene 4 was never saved: the matrix refuses the recall.
    bool flagDuringCall = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] { flagDuringCall = flagDuringCall || panel.isSceneCalling(); });
    probe.start(5);
    QStringList texts = press(panel.callButton());
    QCOMPARE(texts.join(QLatin1Char('|')), QStringLiteral("错误|调用场景失败！"));
    QVERIFY(flagDuringCall);
    QVERIFY(panel.isSceneCalling());

    texts = press(panel.saveButton());
    QCOMPARE(texts.join(QLatin1Char('|')), QStringLiteral("提示|保存场景成功！"));
    QVERIFY(panel.isSceneCalling());   // only a successful recall clears it

    texts = press(panel.callButton());
    QCOMPARE(texts.join(QLatin1Char('|')), QStringLiteral("提示|调用场景成功！"));
    QVERIFY(!panel.isSceneCalling());
    QVERIFY(env->received().contains(QStringLiteral("/SceneCall:4;")));

    // A refused delete or save shows its own failure.
    env->sim.controlOk(QStringLiteral("error"));
    QCOMPARE(press(panel.deleteButton()).join(QLatin1Char('|')), QStringLiteral("错误|删除场景失败！"));
    env->sim.controlOk(QStringLiteral("error"));
    QCOMPARE(press(panel.saveButton()).join(QLatin1Char('|')), QStringLiteral("错误|保存场景失败！"));
}

void tst_Scenes::missingTemplateFails_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("message");

    QTest::newRow("save") << QStringLiteral("SceneSave") << QStringLiteral("错误|保存场景失败！");
    QTest::newRow("call") << QStringLiteral("SceneCall") << QStringLiteral("错误|调用场景失败！");
    QTest::newRow("delete") << QStringLiteral("SceneClear") << QStringLiteral("错误|删除场景失败！");
}

// A command file without the scene's template sends nothing: that is a failure, not a success.
void tst_Scenes::missingTemplateFails()
{
    QFETCH(QString, key);
    QFETCH(QString, message);

    QVERIFY(startMatrix(16));
    const QString path = QStringLiteral("data/command0/SYSTEM.ini");
    const QString entry = QStringLiteral("COMMAND/") + key;
    QString kept;
    {
        QSettings ini(path, QSettings::IniFormat);
        kept = ini.value(entry).toString();
        QVERIFY(!kept.isEmpty());
        ini.remove(entry);
    }
    QFile::remove(QStringLiteral("data/ClientConfig.dat"));

    MSenceListWidget panel;
    panel.sceneButtons().at(3)->click();
    QPushButton* button = key == QLatin1String("SceneSave") ? panel.saveButton()
        : key == QLatin1String("SceneCall")                 ? panel.callButton()
                                                            : panel.deleteButton();
    const QString shown = press(button).join(QLatin1Char('|'));
    QSettings(path, QSettings::IniFormat).setValue(entry, kept);

    QCOMPARE(shown, message);
    QCOMPARE(env->received(), QStringList());
    QVERIFY(!QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat)
                 .contains(QStringLiteral("CLIENT_INFO/CurrentSencce")));
}

void tst_Scenes::exclusiveChoice()
{
    MSenceListWidget panel;
    const auto buttons = panel.sceneButtons();
    QCOMPARE(buttons.size(), 10);
    QCOMPARE(panel.chosenScene(), 0);
    buttons.at(2)->click();
    buttons.at(5)->click();
    buttons.at(5)->click();   // clicking the chosen one keeps it chosen
    QList<int> checked;
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i)->isChecked())
            checked << i;
    }
    QCOMPARE(checked, QList<int>{5});
    QCOMPARE(panel.chosenScene(), 5);
}

void tst_Scenes::rename(MSenceListWidget& panel, int index, const QString& typed, bool selectAll)
{
    FCheckabelButton* button = panel.sceneButtons().at(index);
    QLineEdit* edit = panel.nameEdits().at(index);
    QTest::mouseDClick(button, Qt::LeftButton);
    QVERIFY(button->isHidden());
    QVERIFY(!edit->isHidden());
    QCOMPARE(edit->text(), button->text());
    if (selectAll)
        edit->selectAll();
    else
        edit->end(false);
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!button->isHidden());
    QVERIFY(edit->isHidden());
}

void tst_Scenes::renameWritesName()
{
    QFile::remove(QStringLiteral("data/ClientConfig.dat"));
    MSenceListWidget panel;
    panel.show();
    QCOMPARE(panel.sceneButtons().at(0)->text(), QStringLiteral("场景1"));

    rename(panel, 4, QStringLiteral("Lobby"), true);
    rename(panel, 2, QStringLiteral("Hall"), true);
    QCOMPARE(panel.sceneButtons().at(2)->text(), QStringLiteral("Hall"));

    QSettings stored(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("SCENE_INFO/3/Name")).toString(), QStringLiteral("Hall"));
    QCOMPARE(stored.value(QStringLiteral("SCENE_INFO/5/Name")).toString(), QStringLiteral("Lobby"));
    QCOMPARE(stored.value(QStringLiteral("SCENE_INFO/size")).toInt(), 3);

    // The size entry is not consulted: every stored name loads.
    MSenceListWidget next;
    QCOMPARE(next.sceneButtons().at(2)->text(), QStringLiteral("Hall"));
    QCOMPARE(next.sceneButtons().at(4)->text(), QStringLiteral("Lobby"));
    QCOMPARE(next.sceneButtons().at(9)->text(), QStringLiteral("场景10"));
}

void tst_Scenes::blankNameIsUndone()
{
    QFile::remove(QStringLiteral("data/ClientConfig.dat"));
    MSenceListWidget panel;
    panel.show();
    rename(panel, 1, QStringLiteral("   "), true);
    QCOMPARE(panel.sceneButtons().at(1)->text(), QStringLiteral("场景2"));

    rename(panel, 1, QStringLiteral("Stage"), true);
    QLineEdit* edit = panel.nameEdits().at(1);
    QTest::mouseDClick(panel.sceneButtons().at(1), Qt::LeftButton);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(panel.sceneButtons().at(1)->text(), QStringLiteral("Stage"));
    QCOMPARE(QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat)
                 .value(QStringLiteral("SCENE_INFO/2/Name"))
                 .toString(),
             QStringLiteral("Stage"));
}

void tst_Scenes::nameLengthLimit()
{
    MSenceListWidget panel;
    panel.show();
    rename(panel, 0, QStringLiteral("ABCDEFGHIJKL"), true);
    QCOMPARE(panel.sceneButtons().at(0)->text(), QStringLiteral("ABCDEFGH"));
}

QTEST_MAIN(tst_Scenes)
#include "tst_scenes.moc"
