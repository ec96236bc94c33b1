// The port list: rows and their labels, markers and states, the current-row rule, the find
// filter, relabelling and the payload of a drag.

#include "pagekit/MInputListWidget.h"
#include "pagekit/MInputTreeList.h"
#include "pagekit/PortDrag.h"
#include "core/PublicClass.h"
#include "TempWorkDir.h"

#include <QApplication>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

QJsonObject record(int inType, const QString& inName = QString(), int outType = 0, const QString& outName = QString())
{
    QJsonObject in{{QStringLiteral("card_type"), inType}};
    if (!inName.isNull())
        in.insert(QStringLiteral("name"), inName);
    QJsonObject out{{QStringLiteral("card_type"), outType}};
    if (!outName.isNull())
        out.insert(QStringLiteral("name"), outName);
    return QJsonObject{{QStringLiteral("in-card"), in}, {QStringLiteral("out-card"), out}};
}

// A tree that keeps the ports of the drags it would start (the payload of a port drag is checked
// on the preview tiles, which share it).
class RecordingTree : public MInputTreeList
{
public:
    QList<int> dragged;

protected:
    void startPortDrag(int portIndex) override { dragged << portIndex; }
};

QStringList shownTexts(const QTreeWidget& tree)
{
    QStringList texts;
    for (int i = 1; i < tree.topLevelItemCount(); ++i) {
        if (!tree.topLevelItem(i)->isHidden())
            texts << tree.topLevelItem(i)->text(0);
    }
    return texts;
}

} // namespace

class tst_InputList : public QObject
{
    Q_OBJECT

private slots:
    void currentRowRule_data();
    void currentRowRule();
    void rowsLabelsAndMarkers();
    void findRowKeepsCurrentPort();
    void filter();
    void relabel();
    void dragCarriesCurrentPort();
    void payloadDecoding_data();
    void payloadDecoding();
    void title();

private:
    TempWorkDir dir;   // style/image/inputItem.png is looked up relative to it
};

void tst_InputList::currentRowRule_data()
{
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<int>("current");

    QTest::newRow("empty, HDMI, HDMI, IP, ...") << QList<int>{0, 1, 1, 157, 1, 1, 1, 1} << 1;
    QTest::newRow("IP first") << QList<int>{157, 157, 5, 5} << 2;
    QTest::newRow("only IP and empty") << QList<int>{157, 0, 157, 0} << -1;
}

void tst_InputList::currentRowRule()
{
    QFETCH(QList<int>, types);
    QFETCH(int, current);

    MInputListWidget list;
    QSignalSpy announced(&list, &MInputListWidget::signalSelectCardIndexChanged);
    for (int i = 0; i < types.size(); ++i)
        list.setCardItem(i, record(types.at(i)), 0, false);

    QCOMPARE(list.currentCardIndex(), current);
    if (current < 0) {
        QCOMPARE(announced.count(), 0);
    } else {
        QCOMPARE(announced.count(), 1);
        QCOMPARE(announced.first().first().toInt(), current);
    }
}

void tst_InputList::rowsLabelsAndMarkers()
{
    MInputTreeList tree;
    tree.setCardItem(0, record(0), 0, false);
    tree.setCardItem(1, record(1, QStringLiteral("Camera")), 0, false);
    tree.setCardItem(2, record(1), 0, false);
    tree.setCardItem(3, record(157), 0, false);
    tree.setCardItem(4, record(12), 0, false);
    tree.setCardItem(5, record(1, QString(), 2, QStringLiteral("Wall")), 1, false);
    tree.setCardItem(6, record(1, QString(), 6), 1, false);
    tree.setCardItem(7, record(1), 2, false);   // unknown kind: empty record

    QCOMPARE(tree.topLevelItemCount(), 9);
    const QStringList expected{QStringLiteral("NO-1"), QStringLiteral("Camera"), QStringLiteral("HDMI-3"),
                               QStringLiteral("IP-4"), QStringLiteral("HDMI&SDI-5"), QStringLiteral("Wall"),
                               QStringLiteral("SDI-7"), QStringLiteral("NO-8")};
    for (int port = 0; port < expected.size(); ++port) {
        QTreeWidgetItem* row = tree.topLevelItem(port + 1);
        QCOMPARE(row->text(0), expected.at(port));
        QCOMPARE(row->data(0, Qt::UserRole).toInt(), port);
    }
    // No card: disabled. IP input card: marked.
    QVERIFY(!(tree.topLevelItem(1)->flags() & Qt::ItemIsEnabled));
    QVERIFY(tree.topLevelItem(2)->flags() & Qt::ItemIsEnabled);
    QCOMPARE(tree.topLevelItem(4)->data(0, Qt::UserRole + 1).toInt(), 1);
    QVERIFY(!tree.topLevelItem(3)->data(0, Qt::UserRole + 1).isValid());
    // The find row: disabled, no text, -1.
    QTreeWidgetItem* findRow = tree.topLevelItem(0);
    QVERIFY(!(findRow->flags() & Qt::ItemIsEnabled));
    QCOMPARE(findRow->data(0, Qt::UserRole).toInt(), -1);
    QVERIFY(tree.itemWidget(findRow, 0));
    QCOMPARE(tree.itemWidget(findRow, 0)->objectName(), QStringLiteral("FindWidget"));
}

void tst_InputList::findRowKeepsCurrentPort()
{
    MInputTreeList tree;
    for (int i = 0; i < 4; ++i)
        tree.setCardItem(i, record(1), 0, false);
    tree.setCurrentItem(tree.topLevelItem(3));
    QCOMPARE(tree.currentCardIndex(), 2);
    QSignalSpy announced(&tree, &MInputTreeList::signalSelectIndexChanged);
    tree.setCurrentItem(tree.topLevelItem(0));
    QCOMPARE(tree.currentCardIndex(), 2);
    QCOMPARE(announced.count(), 0);
    QVERIFY(tree.topLevelItem(3)->isSelected());
}

void tst_InputList::filter()
{
    MInputTreeList tree;
    const QStringList names{QStringLiteral("HDMI-1"), QStringLiteral("hdmi lobby"), QStringLiteral("SDI-3"),
                            QStringLiteral("Hd cam"), QStringLiteral("VGA-5")};
    for (int i = 0; i < names.size(); ++i)
        tree.setCardItem(i, record(1, names.at(i)), 0, false);

    QTest::keyClicks(tree.findEdit(), QStringLiteral("hd"));
    QCOMPARE(shownTexts(tree), (QStringList{QStringLiteral("HDMI-1"), QStringLiteral("hdmi lobby"), QStringLiteral("Hd cam")}));
    QVERIFY(!tree.topLevelItem(0)->isHidden());

    // No match: the rows stay as the last filter left them.
    tree.findEdit()->setText(QStringLiteral("zzz"));
    QCOMPARE(shownTexts(tree).size(), 3);
    tree.findButton()->click();
    QCOMPARE(shownTexts(tree).size(), 3);

    tree.findEdit()->clear();
    QCOMPARE(shownTexts(tree), names);

    // Adding a port shows every row again; the find box keeps its text.
    tree.findEdit()->setText(QStringLiteral("SDI"));
    QCOMPARE(shownTexts(tree), QStringList{QStringLiteral("SDI-3")});
    tree.setCardItem(5, record(1), 0, false);
    QCOMPARE(shownTexts(tree).size(), 6);
    QCOMPARE(tree.findEdit()->text(), QStringLiteral("SDI"));
}

void tst_InputList::relabel()
{
    MInputTreeList tree;
    tree.setCardItem(0, record(0), 0, false);
    tree.setCardItem(1, record(1, QStringLiteral("Camera")), 0, false);

    // The name was cleared: type word and port number; state and markers stay.
    tree.setCardItem(1, record(23), 0, true);
    QCOMPARE(tree.topLevelItem(2)->text(0), QStringLiteral("4K HDMI-2"));
    tree.setCardItem(0, record(1, QStringLiteral("Now named")), 0, true);
    QCOMPARE(tree.topLevelItem(1)->text(0), QStringLiteral("Now named"));
    QVERIFY(!(tree.topLevelItem(1)->flags() & Qt::ItemIsEnabled));
    // A port without a row gets none.
    tree.setCardItem(9, record(1), 0, true);
    QCOMPARE(tree.topLevelItemCount(), 3);
}

void tst_InputList::dragCarriesCurrentPort()
{
    RecordingTree tree;
    for (int i = 0; i < 8; ++i)
        tree.setCardItem(i, record(1), 0, false);
    tree.resize(200, 400);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));

    const QRect row = tree.visualItemRect(tree.topLevelItem(6));   // port 5
    const QPoint start = row.center();
    QTest::mousePress(tree.viewport(), Qt::LeftButton, Qt::NoModifier, start);
    QCOMPARE(tree.currentCardIndex(), 5);

    const int distance = QApplication::startDragDistance();
    QMouseEvent nearMove(QEvent::MouseMove, start + QPoint(distance - 1, 0), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &nearMove);
    QCOMPARE(tree.dragged.size(), 0);

    QMouseEvent farMove(QEvent::MouseMove, start + QPoint(distance / 2, distance - distance / 2), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &farMove);
    QCOMPARE(tree.dragged, QList<int>{5});

    // Without the button held nothing starts.
    QMouseEvent hover(QEvent::MouseMove, start + QPoint(3 * distance, 0), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &hover);
    QCOMPARE(tree.dragged.size(), 1);
}

void tst_InputList::payloadDecoding_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("port");

    QTest::newRow("0") << QByteArray("0") << 0;
    QTest::newRow("2") << QByteArray("2") << 2;
    QTest::newRow("255") << QByteArray("255") << 255;
    QTest::newRow("256") << QByteArray("256") << -1;
    QTest::newRow("-1") << QByteArray("-1") << -1;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("text") << QByteArray("HDMI") << -1;
    QTest::newRow("item-model stream") << QByteArray("\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01", 12) << -1;
}

void tst_InputList::payloadDecoding()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, port);

    QMimeData data;
    data.setData(PortDrag::mimeType(), payload);
    QCOMPARE(PortDrag::portFrom(&data), port);

    QScopedPointer<QMimeData> made(PortDrag::mimeFor(port));
    QCOMPARE(made->data(QStringLiteral("application/x-qabstractitemmodeldatalist")), QByteArray::number(port));
}

void tst_InputList::title()
{
    MInputListWidget list;
    QLabel* header = list.headerLabel();
    QCOMPARE(header->text(), QStringLiteral("输入列表"));
    list.setTitle(QStringLiteral("输出列表"), false);
    QCOMPARE(header->text(), QStringLiteral("输出列表"));
    QVERIFY(header->isHidden());
    QCOMPARE(list.objectName(), QStringLiteral("CardListWidget"));
    QCOMPARE(list.width(), 200);
}

QTEST_MAIN(tst_InputList)
#include "tst_inputlist.moc"
