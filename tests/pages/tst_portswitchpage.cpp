// The port-switch page: rights on the grids, range selection, chunked switching and closing
// (against a recorder and against devicesim), close all for administrators only, the own
// password change and the port lists.

#include "AccountTestSupport.h"
#include "SwitchingTestEnv.h"
#include "pagekit/MInputListWidget.h"
#include "pagekit/MInputTreeList.h"
#include "pagekit/PortGrid.h"
#include "pages/portswitch/MatrixSwitchPage.h"
#include "pages/portswitch/PortSwitcher.h"
#include "core/PasswordChange.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

namespace {

using Ports = QList<int>;
using Rights = QMap<int, bool>;

// Records the commands the switcher sends; the link refuses from command refuseFrom on.
struct Recorder
{
    QStringList sent;
    QList<qint64> times;
    int refuseFrom = -1;
    QElapsedTimer clock;

    CommandSender sender()
    {
        clock.start();
        return [this](const QString& cmd, bool, QString&, QByteArray&, bool) {
            sent << cmd;
            times << clock.elapsed();
            return refuseFrom < 0 || sent.size() <= refuseFrom;
        };
    }
};

Ports range(int first, int last)
{
    Ports ports;
    for (int p = first; p <= last; ++p)
        ports << p;
    return ports;
}

QString numbers(const Ports& ports)
{
    QStringList texts;
    for (int p : ports)
        texts << QString::number(p + 1);
    return texts.join(QLatin1Char(','));
}

} // namespace

class tst_PortSwitchPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void switcherCommands_data();
    void switcherCommands();
    void switcherPausesAfterEveryCommand();
    void rightsOnTheGrids_data();
    void rightsOnTheGrids();
    void rangeButtons_data();
    void rangeButtons();
    void fromRaisesTo();
    void inputShowsWhatItFeeds();
    void switchAndCloseThroughMatrix();
    void switchWhileDisconnected();
    void selectAllSwitchesTheModelsPorts();
    void closeAllForAdministratorsOnly_data();
    void closeAllForAdministratorsOnly();
    void ownPasswordChange();
    void portLists();

private:
    MatrixSwitchPage* makePage(qint64 userId);
    template <typename T>
    T* child(const QString& name) const { return page->findChild<T*>(name); }
    PortGrid* grid(const QString& name) const { return child<PortGrid>(name); }
    void click(const QString& button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }

    std::unique_ptr<SwitchingTestEnv> env;
    std::unique_ptr<MatrixSwitchPage> page;
    qint64 limitedUser = -1;
    qint64 freeUser = -1;
    qint64 admin = -1;
};

void tst_PortSwitchPage::initTestCase()
{
    env = std::make_unique<SwitchingTestEnv>();
    QVERIFY(env->isValid());
    PortSwitcher::setPauseMs(0);
    env->useModel(16, QStringLiteral("aaaa"), QStringLiteral("aaaa"));
    QString error;
    QVERIFY2(env->startMatrix(&error), qPrintable(error));
    limitedUser = AccountTest::addUser(QStringLiteral("limited"), QStringLiteral("pw"), 1,
                                       {{2, false}, {3, true}}, {{3, false}, {5, false}, {6, true}});
    freeUser = AccountTest::addUser(QStringLiteral("free"), QStringLiteral("pw"), 1);
    admin = AccountTest::addUser(QStringLiteral("boss"), QStringLiteral("pw"), 0);
    QVERIFY(limitedUser > 0 && freeUser > 0 && admin > 0);
}

void tst_PortSwitchPage::init()
{
    env->useModel(16, QStringLiteral("aaaa"), QStringLiteral("aaaa"));
    env->clearReceived();
}

void tst_PortSwitchPage::cleanup()
{
    QTest::qWait(100);   // the matrix's answers land before the next case's model exists
    page.reset();
}

MatrixSwitchPage* tst_PortSwitchPage::makePage(qint64 userId)
{
    AccountTest::becomeUser(userId);
    page = std::make_unique<MatrixSwitchPage>();
    page->initConfig(false);
    page->resize(1280, 800);
    page->show();
    return page.get();
}

void tst_PortSwitchPage::switcherCommands_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("close");
    QTest::addColumn<int>("input");
    QTest::addColumn<Ports>("outputs");
    QTest::addColumn<Rights>("outputRights");
    QTest::addColumn<int>("refuseFrom");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<Ports>("changed");

    QTest::newRow("input 3 to 1,2,5") << 160 << false << 2 << Ports{0, 1, 4} << Rights() << -1
                                      << QStringList{"/Switch:3:1,2,5;"} << Ports{0, 1, 4};
    QTest::newRow("33 outputs in two commands")
        << 160 << false << 0 << range(0, 32) << Rights() << -1
        << QStringList{"/Switch:1:" + numbers(range(0, 31)) + ";", "/Switch:1:33;"} << range(0, 32);
    QTest::newRow("chunks by position, not by number")
        << 160 << false << 0 << (range(0, 30) + Ports{100, 159}) << Rights() << -1
        << QStringList{"/Switch:1:" + numbers(range(0, 30) + Ports{100}) + ";", "/Switch:1:160;"}
        << (range(0, 30) + Ports{100, 159});
    QTest::newRow("refused output left out") << 160 << false << 0 << Ports{0, 1, 2} << Rights{{1, false}} << -1
                                             << QStringList{"/Switch:1:1,3;"} << Ports{0, 2};
    QTest::newRow("second command refused") << 160 << false << 0 << range(0, 39) << Rights() << 1
                                            << QStringList{"/Switch:1:" + numbers(range(0, 31)) + ";",
                                                           "/Switch:1:" + numbers(range(32, 39)) + ";"}
                                            << range(0, 31);
    QTest::newRow("disconnected: one attempt") << 160 << false << 0 << range(0, 159) << Rights() << 0
                                               << QStringList{"/Switch:1:" + numbers(range(0, 31)) + ";"} << Ports();
    QTest::newRow("close 1,2,5") << 160 << true << -1 << Ports{0, 1, 4} << Rights() << -1
                                 << QStringList{"/Close:1,2,5;"} << Ports{0, 1, 4};
    QTest::newRow("close refused") << 160 << true << -1 << Ports{0, 1} << Rights() << 0
                                   << QStringList{"/Close:1,2;"} << Ports();
    QTest::newRow("close skips refused output") << 160 << true << -1 << Ports{0, 1} << Rights{{0, false}} << -1
                                                << QStringList{"/Close:2;"} << Ports{1};
    QTest::newRow("16-port model: outputs beyond it left out")
        << 16 << false << 0 << range(0, 159) << Rights() << -1 << QStringList{"/Switch:1:" + numbers(range(0, 15)) + ";"}
        << range(0, 15);
    QTest::newRow("16-port model: input beyond it") << 16 << false << 16 << Ports{0} << Rights() << -1 << QStringList()
                                                    << Ports();
    QTest::newRow("16-port model: close beyond it") << 16 << true << -1 << Ports{15, 16} << Rights() << -1
                                                    << QStringList{"/Close:16;"} << Ports{15};
}

void tst_PortSwitchPage::switcherCommands()
{
    QFETCH(int, model);
    QFETCH(bool, close);
    QFETCH(int, input);
    QFETCH(Ports, outputs);
    QFETCH(Rights, outputRights);
    QFETCH(int, refuseFrom);
    QFETCH(QStringList, commands);
    QFETCH(Ports, changed);

    MatrixModel* routes = env->useModel(160, QString(), QString());
    for (int o = 0; o < 160; ++o)
        routes->setRoute(o, 9);
    g_deviceModel = model;
    Recorder recorder;
    recorder.refuseFrom = refuseFrom;
    PortSwitcher switcher(routes, recorder.sender());
    switcher.setRights({}, outputRights);
    const Ports done = close ? switcher.closeOutputs(outputs) : switcher.switchOutputs(input, outputs);
    QCOMPARE(recorder.sent, commands);
    QCOMPARE(done, changed);
    for (int o = 0; o < 160; ++o)
        QCOMPARE(routes->getRoute(o), changed.contains(o) ? (close ? -1 : input) : 9);
}

// The matrix needs 2000 ms after each command, the last one too.
void tst_PortSwitchPage::switcherPausesAfterEveryCommand()
{
    MatrixModel* routes = env->useModel(160, QString(), QString());
    PortSwitcher::setPauseMs(PortSwitcher::DefaultPauseMs);
    Recorder recorder;
    QElapsedTimer total;
    total.start();
    PortSwitcher(routes, recorder.sender()).switchOutputs(0, range(0, 32));
    const qint64 elapsed = total.elapsed();
    PortSwitcher::setPauseMs(0);
    QCOMPARE(recorder.times.size(), 2);
    QVERIFY2(recorder.times.at(1) - recorder.times.at(0) >= 2000, qPrintable(QString::number(recorder.times.at(1))));
    QVERIFY2(elapsed >= 4000, qPrintable(QString::number(elapsed)));
}

void tst_PortSwitchPage::rightsOnTheGrids_data()
{
    QTest::addColumn<int>("user");   // 0 limited, 1 no rights entries, 2 unknown
    QTest::addColumn<Ports>("disabledInputs");
    QTest::addColumn<Ports>("disabledOutputs");
    QTest::newRow("limited") << 0 << Ports{2} << Ports{3, 5};
    QTest::newRow("empty maps: every port") << 1 << Ports() << Ports();
    QTest::newRow("unknown user: every port") << 2 << Ports() << Ports();
}

void tst_PortSwitchPage::rightsOnTheGrids()
{
    QFETCH(int, user);
    QFETCH(Ports, disabledInputs);
    QFETCH(Ports, disabledOutputs);
    makePage(user == 0 ? limitedUser : freeUser);
    if (user == 2) {
        page.reset();
        g_currentUserId = 424242;
        page = std::make_unique<MatrixSwitchPage>();
    }
    for (const auto& side : {qMakePair(QStringLiteral("widgetInput"), disabledInputs),
                             qMakePair(QStringLiteral("widgetOutput"), disabledOutputs)}) {
        const QList<QAbstractButton*> buttons = grid(side.first)->group()->buttons();
        QCOMPARE(buttons.size(), 160);
        for (QAbstractButton* b : buttons) {
            const int id = grid(side.first)->group()->id(b);
            QCOMPARE(b->text(), QString::number(id + 1));
            QCOMPARE(b->property("Type").toString(), QStringLiteral("MatrixSwitch"));
            // The matrix has 16 ports: the buttons beyond them stay, never usable.
            QCOMPARE(b->isEnabled(), id < 16 && !side.second.contains(id));
        }
    }
}

void tst_PortSwitchPage::rangeButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<Ports>("checkedBefore");
    QTest::addColumn<Ports>("checkedAfter");
    // The limited user may not use outputs 3 and 5 (0-based).
    QTest::newRow("select 3 to 5, all enabled") << "pushButtonChecked" << 3 << 5 << Ports{0, 9} << Ports{2, 4};
    QTest::newRow("select 5 to 8") << "pushButtonChecked" << 5 << 8 << Ports() << Ports{4, 6, 7};
    QTest::newRow("select leaves a checked disabled box") << "pushButtonChecked" << 1 << 1 << Ports{3} << Ports{0, 3};
    QTest::newRow("select all skips disabled and the ports beyond the model")
        << "pushButtonCheckedAll" << 1 << 160 << Ports() << (Ports{0, 1, 2, 4} + range(6, 15));
    QTest::newRow("select runs up to the model's last port") << "pushButtonChecked" << 10 << 40 << Ports() << range(9, 15);
    QTest::newRow("deselect clears disabled too") << "pushButtonUnchecked" << 1 << 160 << Ports{3, 5, 7} << Ports();
}

void tst_PortSwitchPage::rangeButtons()
{
    QFETCH(QString, button);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(Ports, checkedBefore);
    QFETCH(Ports, checkedAfter);
    makePage(limitedUser);
    QButtonGroup* outputs = grid("widgetOutput")->group();
    for (int p : checkedBefore)
        outputs->button(p)->setChecked(true);
    child<QSpinBox>("spinBoxStart")->setValue(from);
    child<QSpinBox>("spinBoxEnd")->setValue(to);
    click(button);
    Ports checked;
    for (int p = 0; p < 160; ++p) {
        if (outputs->button(p)->isChecked())
            checked << p;
    }
    QCOMPARE(checked, checkedAfter);
}

void tst_PortSwitchPage::fromRaisesTo()
{
    makePage(freeUser);
    auto* from = child<QSpinBox>("spinBoxStart");
    auto* to = child<QSpinBox>("spinBoxEnd");
    to->setValue(50);
    from->setValue(80);
    QCOMPARE(to->value(), 80);
    from->setValue(20);
    QCOMPARE(to->value(), 80);
    QCOMPARE(to->minimum(), 20);
}

void tst_PortSwitchPage::inputShowsWhatItFeeds()
{
    makePage(limitedUser);
    env->model->setRoute(1, 4);
    env->model->setRoute(3, 4);   // refused to this user: not shown
    env->model->setRoute(7, 4);
    QButtonGroup* inputs = grid("widgetInput")->group();
    QButtonGroup* outputs = grid("widgetOutput")->group();
    outputs->button(10)->setChecked(true);
    QTest::mouseClick(inputs->button(4), Qt::LeftButton);
    QCOMPARE(grid("widgetOutput")->selectedPorts(), (Ports{1, 7}));
    QVERIFY(!outputs->button(3)->isChecked());
    QTest::mouseClick(inputs->button(11), Qt::LeftButton);
    QCOMPARE(grid("widgetOutput")->selectedPorts(), Ports());
}

void tst_PortSwitchPage::switchAndCloseThroughMatrix()
{
    makePage(limitedUser);
    QButtonGroup* outputs = grid("widgetOutput")->group();
    QStringList boxes = AccountTest::boxesOf([this] { click("pushButtonOk"); });
    QCOMPARE(boxes, QStringList{"请选择输入！"});
    QTest::mouseClick(grid("widgetInput")->group()->button(2), Qt::LeftButton);   // refused: stays unchecked
    QCOMPARE(grid("widgetInput")->checkedPort(), -1);
    QTest::mouseClick(grid("widgetInput")->group()->button(1), Qt::LeftButton);
    boxes = AccountTest::boxesOf([this] { click("pushButtonOk"); });
    QCOMPARE(boxes, QStringList{"请选择输出！"});

    for (int p : {0, 1, 4, 3, 5})   // 3 and 5 checked while disabled
        outputs->button(p)->setChecked(true);
    click("pushButtonOk");
    QVERIFY(env->waitForCommand("/Switch:2:1,2,5;"));
    QCOMPARE(env->received(), QStringList{"/Switch:2:1,2,5;"});
    for (int o : {0, 1, 4})
        QCOMPARE(env->model->getRoute(o), 1);
    QCOMPARE(env->matrixRoutes().value(5), 2);

    // Close 1 and 5; the boxes then show what input 2 still feeds.
    env->clearReceived();
    grid("widgetOutput")->clearAll();
    outputs->button(0)->setChecked(true);
    outputs->button(4)->setChecked(true);
    click("pushButtonClose");
    QVERIFY(env->waitForCommand("/Close:1,5;"));
    QVERIFY(env->model->getRoute(0) < 0);   // -1 at once, -2 once the matrix reports it closed
    QCOMPARE(grid("widgetOutput")->selectedPorts(), Ports{1});
}

void tst_PortSwitchPage::switchWhileDisconnected()
{
    makePage(freeUser);
    CCHelper::instance()->disConnectToDevice();
    QSignalSpy notices(CCHelper::instance(), &CCHelper::notConnected);
    for (int o = 0; o < 16; ++o)
        env->model->setRoute(o, 5);
    QTest::mouseClick(grid("widgetInput")->group()->button(0), Qt::LeftButton);
    click("pushButtonCheckedAll");
    click("pushButtonOk");
    click("pushButtonClose");
    QCOMPARE(notices.count(), 2);   // one refused command each, not five
    for (int o = 0; o < 16; ++o)
        QCOMPARE(env->model->getRoute(o), 5);
    QString error;
    QVERIFY2(env->startMatrix(&error), qPrintable(error));
}

void tst_PortSwitchPage::selectAllSwitchesTheModelsPorts()
{
    makePage(freeUser);
    QTest::mouseClick(grid("widgetInput")->group()->button(0), Qt::LeftButton);
    click("pushButtonCheckedAll");
    click("pushButtonOk");
    const QString command = "/Switch:1:" + numbers(range(0, 15)) + ";";
    QVERIFY(env->waitForCommand(command));
    QTest::qWait(100);
    QCOMPARE(env->received(), QStringList{command});
}

void tst_PortSwitchPage::closeAllForAdministratorsOnly_data()
{
    QTest::addColumn<bool>("administrator");
    QTest::newRow("administrator") << true;
    QTest::newRow("user") << false;
}

void tst_PortSwitchPage::closeAllForAdministratorsOnly()
{
    QFETCH(bool, administrator);
    makePage(administrator ? admin : freeUser);
    env->model->setRoute(150, 3);
    auto* closeAll = child<QPushButton>("pushButtonCloseAll");
    QCOMPARE(closeAll->isVisible(), administrator);
    closeAll->click();   // reaches the slot even when hidden
    if (administrator) {
        QVERIFY(env->waitForCommand("/CloseAll;"));
        for (int o = 0; o < 160; ++o)
            QVERIFY(env->model->getRoute(o) < 0);
    } else {
        QTest::qWait(100);
        QCOMPARE(env->received(), QStringList());
        QCOMPARE(env->model->getRoute(150), 3);
    }
}

void tst_PortSwitchPage::ownPasswordChange()
{
    const qint64 id = AccountTest::addUser(QStringLiteral("changer"), QStringLiteral("first"), 1);
    makePage(id);
    auto* oldEdit = child<QLineEdit>("lineEditPasswordOld");
    auto* newEdit = child<QLineEdit>("lineEditPasswordNew");
    QCOMPARE(child<QLineEdit>("lineEditUserName")->text(), QStringLiteral("changer"));
    const auto change = [&](const QString& from, const QString& to) {
        oldEdit->setText(from);
        newEdit->setText(to);
        return AccountTest::boxesOf([this] { click("pushButtonChangePassword"); });
    };
    QCOMPARE(change("wrong", "second"), QStringList{"旧密码错误！"});
    QCOMPARE(change("first", ""), QStringList{"密码不能为空！"});
    QCOMPARE(change("first", "密码"), QStringList{PasswordChange::message(PasswordChange::Result::PasswordNotLatin1)});
    QCOMPARE(change("first", "second"), QStringList{"修改密码成功！"});
    const QString stored = passwordTransform(QStringLiteral("changer"), QStringLiteral("second"));
    QCOMPARE(g_userPassword, stored);
    QCOMPARE(CUserManage().getUserById(id).passWord(), stored);   // in the file at once
    // The next change of the same login quotes the new password.
    QCOMPARE(change("first", "third"), QStringList{"旧密码错误！"});
    QCOMPARE(change("second", "third"), QStringList{"修改密码成功！"});
}

void tst_PortSwitchPage::portLists()
{
    // Slot 1: a 4K HDBT input card and a preview output card.
    env->useModel(8, QStringLiteral("3a"), QStringLiteral("ea"));
    makePage(freeUser);
    const auto listed = [this](int page) {
        auto* stack = child<QStackedWidget>("stackedWidget");
        MInputTreeList* tree = static_cast<MInputListWidget*>(stack->widget(page))->treeList();
        Ports ports;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const int port = tree->topLevelItem(i)->data(0, Qt::UserRole).toInt();
            if (port >= 0)   // not the find row
                ports << port;
        }
        return ports;
    };
    QCOMPARE(listed(0), (Ports{1, 3, 4, 5, 6, 7}));
    QCOMPARE(listed(1), (Ports{0, 4, 5, 6, 7}));
    click("pushButtonOutput");
    QCOMPARE(child<QStackedWidget>("stackedWidget")->currentIndex(), 1);
    WidgetShots::save(page.get(), QStringLiteral("portswitch_page"));
}

QTEST_MAIN(tst_PortSwitchPage)
#include "tst_portswitchpage.moc"
