// The decoder page against a simulated IP card: refresh, wall layout, drops, save, apply and the
// pan-tilt pad, checked at the card through its control port.

#include "framework/LanguageSwitch.h"
#include "framework/fCloudButton.h"
#include "ipcard/link/DeviceToHisilicon.h"
#include "ipcard/panel/DecoderConfigWidget.h"
#include "ipcard/panel/DecoderTree.h"
#include "ipcard/panel/DecoderViews.h"
#include "ipcard/panel/ScreenIpWidget.h"
#include "ipcard/panel/IpCardCall.h"
#include "PanelFixture.h"
#include "WidgetShots.h"

#include "LoginRequestProto.pb.h"

#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>
#include <QtTest>

using namespace com::kiv::protobuf;

namespace {

const QHostAddress CardAddress(QStringLiteral("127.14.4.1"));
const QPoint PadUp(52, 5);
const QPoint PadCentre(50, 50);

VideoSource named(const char* name)
{
    VideoSource source;
    source.set_name(name);
    source.set_addr("127.0.60.9");
    return source;
}

IpLinkResult logIn(DeviceToHisilicon* link)
{
    LoginRequest login;
    login.set_username("admin");
    login.set_password("quelt");
    return IpCardCall::request(link, 1, 0, IpCardCall::bytesOf(login));
}

// A drop on a pane as the drag-and-drop machinery delivers it; true when the pane took it.
bool dropOn(ScreenIpWidget* pane, QMimeData* data)
{
    QDragEnterEvent enter(QPoint(5, 5), Qt::LinkAction | Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::LinkAction | Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane, &drop);
    delete data;
    return enter.isAccepted() && drop.isAccepted();
}

} // namespace

class TestDecoderPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void paneContentsAndSavedView_data();
    void paneContentsAndSavedView();

    void buttonsNeedALinkAndACheckedView_data();
    void buttonsNeedALinkAndACheckedView();
    void refreshShowsTheCardsState();
    void refreshFailures_data();
    void refreshFailures();
    void anotherOutputWaitsForItsOwnViews_data();
    void anotherOutputWaitsForItsOwnViews();
    void viewChangeHidesTheOtherPanes();
    void drops_data();
    void drops();
    void saveApplyAndSwitchBack_data();
    void saveApplyAndSwitchBack();
    void noSecondRequestWhileOneWaits();
    void padGestures_data();
    void padGestures();
    void stopWaitsForABusyLink();
    void forgetCardEmptiesThePage();
    void panelEmbedsThePageForItsCard();
    void languages_data();
    void languages();

private:
    DecoderTree* tree() const { return page->findChild<DecoderTree*>(); }
    QList<ScreenIpWidget*> panes() const { return page->findChildren<ScreenIpWidget*>(); }
    QStringList paneNames(int count) const;
    QAbstractButton* button(const char* name) const { return page->findChild<QAbstractButton*>(QLatin1String(name)); }
    // Clicks a button of the page; the texts of the message boxes it opened.
    QStringList click(const char* name)
    {
        button(name)->click();
        return boxes.take();
    }
    QTreeWidgetItem* item(const QString& text) const
    {
        const QList<QTreeWidgetItem*> found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.value(0);
    }
    QMimeData* dragOf(QTreeWidgetItem* from) const
    {
        QTreeWidgetItem* parent = from->parent();
        const QModelIndex parentIndex = parent ? tree()->model()->index(tree()->indexOfTopLevelItem(parent), 0)
                                               : QModelIndex();
        const int row = parent ? parent->indexOfChild(from) : tree()->indexOfTopLevelItem(from);
        return tree()->model()->mimeData({tree()->model()->index(row, 0, parentIndex)});
    }
    IpLinkResult saveOnCard(const Decoder& view) { return IpCardCall::request(link.get(), 4, 4, IpCardCall::bytesOf(view)); }
    QByteArray cardAnswer(const QString& verb) { return card->control(verb + QLatin1Char(' ') + card->host()); }
    // "<count>:<names>" of one view at the card.
    QString cardView(int output, int view);
    int cardRequests(int msgClass, int msgCommand);

    BoxCatcher boxes;
    std::unique_ptr<IpCardFarmThread> card;
    std::unique_ptr<DeviceToHisilicon> link;
    std::unique_ptr<DecoderConfigWidget> page;
};

QStringList TestDecoderPage::paneNames(int count) const
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << (panes().at(i)->isVisible() ? panes().at(i)->sourceName() : QStringLiteral("<hidden>"));
    return names;
}

QString TestDecoderPage::cardView(int output, int view)
{
    const QString prefix = QStringLiteral("%1/%2=").arg(output).arg(view);
    for (const QString& item : QString::fromLatin1(cardAnswer(QStringLiteral("views"))).split(QLatin1Char(' ')))
        if (item.startsWith(prefix))
            return QString::fromUtf8(QByteArray::fromPercentEncoding(item.mid(prefix.size()).toLatin1()));
    return QString();
}

int TestDecoderPage::cardRequests(int msgClass, int msgCommand)
{
    int count = 0;
    for (const IpCardFarmThread::Seen& seen : card->requests())
        count += seen.msgClass == msgClass && seen.msgCommand == msgCommand ? 1 : 0;
    return count;
}

void TestDecoderPage::initTestCase()
{
    card = std::make_unique<IpCardFarmThread>(CardAddress);
    QVERIFY2(card->isStarted(), qPrintable(card->errorText()));
}

void TestDecoderPage::init()
{
    card->control(QStringLiteral("clear all"));
    card->control(QStringLiteral("factory all"));
    card->control(QStringLiteral("ptz %1 clear").arg(card->host()));
    boxes.take();
    link = std::make_unique<DeviceToHisilicon>();
    QVERIFY(link->connectToDevice(card->host(), card->port()));
    QCOMPARE(logIn(link.get()), 1);
    page = std::make_unique<DecoderConfigWidget>();
    page->setDevice(link.get());
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
}

void TestDecoderPage::cleanup()
{
    page.reset();
    link.reset();
}

void TestDecoderPage::paneContentsAndSavedView_data()
{
    QTest::addColumn<int>("viewId");
    QTest::addColumn<int>("sources");
    QTest::addColumn<int>("shown");
    QTest::newRow("one picture, three sources") << 0 << 3 << 1;
    QTest::newRow("four pictures, two sources") << 2 << 2 << 2;
    QTest::newRow("nine pictures, none") << 3 << 0 << 0;
    QTest::newRow("unknown view") << 7 << 2 << 0;
}

void TestDecoderPage::paneContentsAndSavedView()
{
    QFETCH(int, viewId);
    QFETCH(int, sources);
    QFETCH(int, shown);
    Decoder view;
    for (int i = 0; i < sources; ++i)
        *view.add_videosources() = named(QByteArray::number(i).constData());
    const DecoderViews::Shape shape = DecoderViews::shapeOf(viewId);
    const QVector<QByteArray> contents = DecoderViews::paneContents(view, shape);
    QCOMPARE(contents.size(), shape.panes());
    QCOMPARE(int(std::count_if(contents.begin(), contents.end(), [](const QByteArray& b) { return !b.isEmpty(); })), shown);

    // Saved back, every pane is one source; a pane that does not parse is an empty source.
    QVector<QByteArray> panes = contents;
    if (!panes.isEmpty())
        panes.last() = QByteArray("\x0a\x09" "broken", 8);
    const Decoder saved = DecoderViews::viewToSave(1, viewId, panes);
    QCOMPARE(saved.videosources_size(), shape.panes());
    if (!panes.isEmpty())
        QCOMPARE(saved.videosources(saved.videosources_size() - 1).ByteSizeLong(), size_t(0));
}

void TestDecoderPage::buttonsNeedALinkAndACheckedView_data()
{
    QTest::addColumn<bool>("withLink");
    QTest::addColumn<bool>("checkView");
    QTest::addColumn<bool>("readViews");   // a refresh ran (it checks the view the card shows)
    QTest::newRow("no link, no view") << false << false << false;
    QTest::newRow("no link, view") << false << true << false;
    QTest::newRow("link, no view") << true << false << false;
    QTest::newRow("link, view not read") << true << true << false;
    QTest::newRow("link, view read") << true << false << true;
}

void TestDecoderPage::buttonsNeedALinkAndACheckedView()
{
    QFETCH(bool, withLink);
    QFETCH(bool, checkView);
    QFETCH(bool, readViews);
    page = std::make_unique<DecoderConfigWidget>();
    if (withLink)
        page->setDevice(link.get());
    // Nothing is checked and no pane is placed at first.
    QVERIFY(!button("radioButton")->isChecked() && !button("radioButton_4")->isChecked());
    QCOMPARE(panes().size(), DecoderViews::PaneCount);
    for (ScreenIpWidget* pane : panes())
        QVERIFY(pane->isHidden());
    if (checkView)
        button("radioButton_3")->click();
    if (readViews)
        QVERIFY(click("pushButtonRefrush").isEmpty());
    QCOMPARE(button("pushButtonRefrush")->isEnabled(), withLink);
    QCOMPARE(button("pushButtonOk")->isEnabled(), readViews);
    QCOMPARE(button("useBtn")->isEnabled(), readViews);
}

void TestDecoderPage::refreshShowsTheCardsState()
{
    QVERIFY(click("pushButtonRefrush").isEmpty());
    // Named group with its sources below, a nameless group's source at top level; the last one
    // added is current.
    QCOMPARE(tree()->topLevelItemCount(), 2);
    QCOMPARE(tree()->topLevelItem(0)->text(0), QStringLiteral("hall"));
    QCOMPARE(tree()->topLevelItem(0)->childCount(), 2);
    QCOMPARE(tree()->topLevelItem(1)->text(0), QStringLiteral("yard"));
    QCOMPARE(tree()->currentItem(), tree()->topLevelItem(1));
    QVERIFY(button("radioButton")->isChecked());
    QCOMPARE(paneNames(2), (QStringList{QStringLiteral("door"), QStringLiteral("<hidden>")}));
}

void TestDecoderPage::refreshFailures_data()
{
    QTest::addColumn<bool>("refreshFirst");
    QTest::addColumn<QString>("cardSetup");   // control request, %1 the card
    QTest::addColumn<QString>("box");         // start of the message shown, empty for none
    QTest::addColumn<bool>("singleChecked");
    QTest::addColumn<QString>("firstPane");
    QTest::addColumn<int>("treeItems");
    // After the first refresh the card's view 0 changes to "other": a refresh that went on
    // where it should stop would show it.
    QTest::newRow("sources refused") << true << "fault %1 result 9 on 3/3" << "失败，错误码9" << true << "door" << 2;
    // A list that does not read is left out; the views are read all the same.
    QTest::newRow("sources unreadable") << true << "badname %1" << "设备返回的数据无法识别！" << true << "other" << 0;
    QTest::newRow("unknown applied view") << true << "applied %1 0 1000" << "解码器正在使用未知的画面模式1000"
                                          << true << "door" << 2;
    QTest::newRow("one view unreadable") << false << "fault %1 result 9 on 3/4" << "" << true << "" << 2;
    QTest::newRow("card goes away") << false << "fault %1 close on 3/4" << "失败，错误码" << false << "<hidden>" << 2;
}

void TestDecoderPage::refreshFailures()
{
    QFETCH(bool, refreshFirst);
    QFETCH(QString, cardSetup);
    QFETCH(QString, box);
    QFETCH(bool, singleChecked);
    QFETCH(QString, firstPane);
    QFETCH(int, treeItems);
    if (refreshFirst) {
        QVERIFY(click("pushButtonRefrush").isEmpty());
        Decoder other;
        *other.add_videosources() = named("other");
        QCOMPARE(saveOnCard(other), 1);
    }
    QCOMPARE(card->control(cardSetup.arg(card->host())), QByteArray("OK"));
    const QStringList boxes = click("pushButtonRefrush");
    QCOMPARE(boxes.size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty())
        QVERIFY2(boxes.first().startsWith(box), qPrintable(boxes.first()));
    QCOMPARE(tree()->topLevelItemCount(), treeItems);
    QCOMPARE(button("radioButton")->isChecked(), singleChecked);
    QCOMPARE(paneNames(1), QStringList{firstPane});
    // Whatever failed, the views that were read can be saved back.
    if (singleChecked)
        QCOMPARE(click("pushButtonOk"), QStringList{QStringLiteral("保存成功！")});
    // Views that were read lay out all their panes, empty ones included.
    button("radioButton_4")->click();
    QCOMPARE(paneNames(9).count(QString()), 9);
}

void TestDecoderPage::anotherOutputWaitsForItsOwnViews_data()
{
    QTest::addColumn<int>("from");   // a card index; the other output's is its neighbour
    QTest::newRow("even to odd") << 4;
    QTest::newRow("odd to even") << 5;
}

void TestDecoderPage::anotherOutputWaitsForItsOwnViews()
{
    QFETCH(int, from);
    const int to = from ^ 1;
    Decoder odd;
    odd.set_output(1);
    *odd.add_videosources() = named("odd");
    QCOMPARE(saveOnCard(odd), 1);
    const QString firstSource[2] = {QStringLiteral("door"), QStringLiteral("odd")};
    page->setCardIndex(from);
    QVERIFY(click("pushButtonRefrush").isEmpty());
    QCOMPARE(paneNames(1), QStringList{firstSource[from & 1]});

    // The other output's first reading fails: nothing read for the first one is shown, saved or
    // applied on it.
    QVERIFY(card->fault(QStringLiteral("result 9 on 3/3")));
    page->setCardIndex(to);
    QVERIFY(!button("radioButton")->isChecked());
    for (ScreenIpWidget* pane : panes())
        QVERIFY(pane->isHidden() && pane->videoSource().isEmpty());
    QCOMPARE(click("pushButtonRefrush"), QStringList{QStringLiteral("失败，错误码9")});
    button("radioButton")->click();
    QVERIFY(panes().first()->isHidden());
    QVERIFY(!button("pushButtonOk")->isEnabled() && !button("useBtn")->isEnabled());
    const int writes = cardRequests(4, 4) + cardRequests(4, 8);
    page->on_pushButtonOk_clicked();
    page->onUseView();
    QCOMPARE(boxes.take(), QStringList());
    QCOMPARE(cardRequests(4, 4) + cardRequests(4, 8), writes);

    // Its own views read, it saves them.
    QVERIFY(click("pushButtonRefrush").isEmpty());
    QCOMPARE(paneNames(1), QStringList{firstSource[to & 1]});
    QCOMPARE(click("pushButtonOk"), QStringList{QStringLiteral("保存成功！")});
    QCOMPARE(cardView(to & 1, 0), QStringLiteral("1:") + firstSource[to & 1]);
    QCOMPARE(cardView(from & 1, 0), QStringLiteral("1:") + firstSource[from & 1]);
}

void TestDecoderPage::viewChangeHidesTheOtherPanes()
{
    Decoder nine;
    nine.set_viewid(3);
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i"})
        *nine.add_videosources() = named(name);
    QCOMPARE(saveOnCard(nine), 1);
    click("pushButtonRefrush");
    button("radioButton_4")->click();
    QCOMPARE(paneNames(9).join(QString()), QStringLiteral("abcdefghi"));
    button("radioButton")->click();
    QCOMPARE(paneNames(2), (QStringList{QStringLiteral("door"), QStringLiteral("<hidden>")}));
    int visible = 0;
    for (ScreenIpWidget* pane : panes())
        visible += pane->isVisible() ? 1 : 0;
    QCOMPARE(visible, 1);
}

void TestDecoderPage::drops_data()
{
    QTest::addColumn<QString>("dragged");   // tree item text, or "port" for another list's item
    QTest::addColumn<QString>("shown");
    QTest::newRow("source replaces") << QStringLiteral("lobby") << QStringLiteral("lobby");
    QTest::newRow("loose source") << QStringLiteral("yard") << QStringLiteral("yard");
    QTest::newRow("group refused") << QStringLiteral("hall") << QStringLiteral("door");
    QTest::newRow("port list refused") << QStringLiteral("port") << QStringLiteral("door");
}

void TestDecoderPage::drops()
{
    QFETCH(QString, dragged);
    QFETCH(QString, shown);
    click("pushButtonRefrush");
    ScreenIpWidget* pane = panes().first();
    QListWidget ports;
    QMimeData* data = nullptr;
    if (dragged == QLatin1String("port")) {
        // An input list item looks like a source item by role 256.
        auto* port = new QListWidgetItem(QStringLiteral("HDMI-1"), &ports);
        port->setData(Qt::UserRole, 1);
        data = ports.model()->mimeData({ports.model()->index(0, 0)});
    } else {
        data = dragOf(item(dragged));
    }
    QCOMPARE(dropOn(pane, data), shown != QLatin1String("door"));
    QCOMPARE(pane->sourceName(), shown);
    QTest::mouseDClick(pane, Qt::LeftButton);
    QVERIFY(pane->videoSource().isEmpty());
}

void TestDecoderPage::saveApplyAndSwitchBack_data()
{
    QTest::addColumn<int>("cardIndex");
    QTest::newRow("even index, output 0") << 4;
    QTest::newRow("odd index, output 1") << 7;
}

void TestDecoderPage::saveApplyAndSwitchBack()
{
    QFETCH(int, cardIndex);
    const int output = cardIndex & 1;
    page->setCardIndex(cardIndex);
    click("pushButtonRefrush");
    button("radioButton_2")->click();
    QVERIFY(dropOn(panes().at(1), dragOf(item(QStringLiteral("lobby")))));
    QCOMPARE(click("pushButtonOk"), QStringList{QStringLiteral("保存成功！")});
    // Two sources for two panes, the empty left one included; the other output keeps its own.
    QCOMPARE(cardView(output, 1), QStringLiteral("2:,lobby"));
    QCOMPARE(cardView(1 - output, 1), QStringLiteral("0:"));

    QCOMPARE(click("useBtn"), QStringList{QStringLiteral("更新成功！")});
    const QStringList applied = card->state(QStringLiteral("applied")).split(QLatin1Char(','));
    QCOMPARE(applied.value(output), QStringLiteral("1"));
    QCOMPARE(applied.value(1 - output), QStringLiteral("0"));

    button("radioButton_3")->click();
    button("radioButton_2")->click();
    QCOMPARE(paneNames(2), (QStringList{QString(), QStringLiteral("lobby")}));
}

void TestDecoderPage::noSecondRequestWhileOneWaits()
{
    click("pushButtonRefrush");
    tree()->setCurrentItem(item(QStringLiteral("door")));
    // The reply comes in two pieces; the link runs events between them.
    QVERIFY(card->fault(QStringLiteral("split 300 on 3/3")));
    const int sourceReads = cardRequests(3, 3);
    const int saves = cardRequests(4, 4);
    bool checked = false;
    QTimer::singleShot(100, [&] {
        checked = true;
        QVERIFY(!button("pushButtonRefrush")->isEnabled());
        QVERIFY(!button("pushButtonOk")->isEnabled() && !button("useBtn")->isEnabled());
        button("pushButtonOk")->click();
        QTest::mousePress(page->findChild<fCloudButton*>(), Qt::LeftButton, {}, PadUp);
        QTest::mouseRelease(page->findChild<fCloudButton*>(), Qt::LeftButton, {}, PadUp);
        page->on_pushButtonRefrush_clicked();
    });
    QVERIFY(click("pushButtonRefrush").isEmpty());
    QVERIFY(checked);
    QCOMPARE(cardRequests(3, 3), sourceReads + 1);
    QCOMPARE(cardRequests(4, 4), saves);
    QCOMPARE(cardAnswer(QStringLiteral("ptz")), QByteArray("OK "));
    QVERIFY(button("pushButtonRefrush")->isEnabled() && button("pushButtonOk")->isEnabled());
}

void TestDecoderPage::padGestures_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("fault");       // on the press
    QTest::addColumn<bool>("releaseDuringPress");
    QTest::addColumn<QString>("atCard");
    QTest::addColumn<QStringList>("boxes");
    const QStringList none;
    QTest::newRow("source") << "door" << "" << false << "101:door 100:door" << none;
    QTest::newRow("group") << "hall" << "" << false << "" << none;
    QTest::newRow("release while the press waits") << "door" << "split 200" << true << "101:door 100:door" << none;
    QTest::newRow("press refused: stopped at once") << "lobby" << "result 9" << false << "100:lobby"
                                                   << QStringList{QStringLiteral("失败，错误码9")};
}

void TestDecoderPage::padGestures()
{
    QFETCH(QString, selected);
    QFETCH(QString, fault);
    QFETCH(bool, releaseDuringPress);
    QFETCH(QString, atCard);
    QFETCH(QStringList, boxes);
    click("pushButtonRefrush");
    tree()->setCurrentItem(item(selected));
    if (!fault.isEmpty())
        QVERIFY(card->fault(fault + QStringLiteral(" on 2/101")));
    fCloudButton* pad = page->findChild<fCloudButton*>();
    if (releaseDuringPress)
        QTimer::singleShot(50, [pad] { QTest::mouseRelease(pad, Qt::LeftButton, {}, PadUp); });
    QTest::mousePress(pad, Qt::LeftButton, {}, PadUp);
    QCOMPARE(this->boxes.take(), boxes);
    // The stop goes for the source the press went out for, whatever is selected by then.
    tree()->setCurrentItem(item(QStringLiteral("yard")));
    if (!releaseDuringPress)
        QTest::mouseRelease(pad, Qt::LeftButton, {}, PadUp);
    QTRY_COMPARE(cardAnswer(QStringLiteral("ptz")), QByteArray("OK ") + atCard.toUtf8());

    // The centre, pressed and released once the gesture is over, is its own gesture.
    card->control(QStringLiteral("ptz %1 clear").arg(card->host()));
    tree()->setCurrentItem(item(QStringLiteral("door")));
    QTest::mousePress(pad, Qt::LeftButton, {}, PadCentre);
    QTest::mouseRelease(pad, Qt::LeftButton, {}, PadCentre);
    QCOMPARE(cardAnswer(QStringLiteral("ptz")), QByteArray("OK 109:door 100:door"));
}

void TestDecoderPage::stopWaitsForABusyLink()
{
    click("pushButtonRefrush");
    tree()->setCurrentItem(item(QStringLiteral("door")));
    fCloudButton* pad = page->findChild<fCloudButton*>();
    QTest::mousePress(pad, Qt::LeftButton, {}, PadUp);
    // Another exchange holds the link (its reply comes in two pieces) when the pad is released.
    QVERIFY(card->fault(QStringLiteral("split 200 on 3/7")));
    QTimer::singleShot(50, [pad] { QTest::mouseRelease(pad, Qt::LeftButton, {}, PadUp); });
    QCOMPARE(IpCardCall::request(link.get(), 3, 7), 1);
    QTRY_COMPARE(cardAnswer(QStringLiteral("ptz")), QByteArray("OK 101:door 100:door"));
    QCOMPARE(boxes.take(), QStringList());
}

void TestDecoderPage::forgetCardEmptiesThePage()
{
    click("pushButtonRefrush");
    page->forgetCard();
    QCOMPARE(tree()->topLevelItemCount(), 0);
    QVERIFY(!button("radioButton")->isChecked());
    QVERIFY(!button("pushButtonOk")->isEnabled() && !button("useBtn")->isEnabled());
    for (ScreenIpWidget* pane : panes())
        QVERIFY(pane->isHidden() && pane->videoSource().isEmpty());
    // Nothing of the old card comes back with a view: the views are gone too.
    button("radioButton")->click();
    QVERIFY(panes().first()->isHidden());
}

void TestDecoderPage::panelEmbedsThePageForItsCard()
{
    PanelFixture f(4, 2);
    QVERIFY2(f.isReady(), qPrintable(f.card.errorText()));
    DeviceToHisilicon other;
    QVERIFY(other.connectToDevice(f.card.host(), f.card.port()));
    QCOMPARE(logIn(&other), 1);
    Decoder odd;
    odd.set_output(1);
    *odd.add_videosources() = named("odd");
    QCOMPARE(IpCardCall::request(&other, 4, 4, IpCardCall::bytesOf(odd)), 1);

    // Port 3 is the card's odd output; connecting fills the decoder tab for it.
    f.panel->setCardIndex(3);
    QVERIFY(f.panel->onClickConnect());
    DecoderConfigWidget* decoder = f.panel->decoderPage();
    QCOMPARE(f.child<QTabWidget>("tabWidget")->indexOf(decoder), 2);
    QCOMPARE(decoder->findChild<DecoderTree*>()->topLevelItemCount(), 2);
    QVERIFY(decoder->findChild<QAbstractButton*>(QStringLiteral("radioButton"))->isChecked());
    QCOMPARE(decoder->findChildren<ScreenIpWidget*>().first()->sourceName(), QStringLiteral("odd"));
}

void TestDecoderPage::languages_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("refresh");
    QTest::addColumn<QString>("fourPictures");
    QTest::newRow("zh_CN") << 0 << QStringLiteral("更新配置") << QStringLiteral("四画面");
    QTest::newRow("zh_TW") << 1 << QStringLiteral("更新配置") << QStringLiteral("四畫面");
    QTest::newRow("en") << 2 << QStringLiteral("Update") << QStringLiteral("Four images");
}

void TestDecoderPage::languages()
{
    QFETCH(int, language);
    QFETCH(QString, refresh);
    QFETCH(QString, fourPictures);
    WidgetShots::SkinnedWorkDir skin;
    QVERIFY(skin.isSkinned());
    const std::function<void()> install[] = {setLanguageSimplifiedChinese, setLanguageTraditionalChinese,
                                             setLanguageEnglish};
    install[language]();
    page = std::make_unique<DecoderConfigWidget>();
    page->setDevice(link.get());
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    click("pushButtonRefrush");
    button("radioButton_3")->click();
    QVERIFY(dropOn(panes().at(0), dragOf(item(QStringLiteral("door")))));
    QVERIFY(dropOn(panes().at(3), dragOf(item(QStringLiteral("yard")))));

    QCOMPARE(button("pushButtonRefrush")->text(), refresh);
    QCOMPARE(button("radioButton_3")->text(), fourPictures);
    for (QAbstractButton* each : page->findChildren<QAbstractButton*>()) {
        const int textWidth = each->fontMetrics().horizontalAdvance(each->text());
        QVERIFY2(each->width() >= textWidth, qPrintable(each->text()));
    }
    // The skin reaches the page: its own dark background in the corner below the tree.
    const QImage shot = page->grab().toImage();
    QCOMPARE(shot.pixelColor(1, shot.height() - 2), QColor(0x1b, 0x22, 0x30));
    const char* const names[] = {"zh_CN", "zh_TW", "en"};
    WidgetShots::save(page.get(), QStringLiteral("decoder_%1").arg(QLatin1String(names[language])));
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

QTEST_MAIN(TestDecoderPage)
#include "tst_decoderpage.moc"
