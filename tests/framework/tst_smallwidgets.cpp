#include "framework/FCheckabelButton.h"
#include "framework/FIpAddrEdit.h"
#include "framework/FIpPartLineEdit.h"
#include "framework/FTableWidget.h"
#include "WidgetShots.h"
#include "framework/fCloudButton.h"
#include "framework/fpolygonButton.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(fCloudButton::ButtonType)

class SmallWidgetsTest : public QObject
{
    Q_OBJECT

    WidgetShots::SkinnedWorkDir work;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<fCloudButton::ButtonType>();
        QVERIFY(work.isSkinned());
    }

    void ipFocusMoves_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("focusedPart");
        QTest::addColumn<QString>("firstOctet");
        QTest::newRow("2,5,5 completes") << "255" << 1 << "255";
        QTest::newRow("3,0 cannot grow") << "30" << 1 << "30";
        QTest::newRow("2,5 may grow") << "25" << 0 << "25";
        QTest::newRow("one digit") << "9" << 0 << "9";
        QTest::newRow("dot") << "1." << 1 << "1";
        QTest::newRow("2,5,6 refused") << "256" << 0 << "25";
        QTest::newRow("dot in empty octet") << "." << 0 << "";
        QTest::newRow("dot after jump stays") << "255." << 1 << "255";
    }
    void ipFocusMoves()
    {
        QFETCH(QString, keys);
        QFETCH(int, focusedPart);
        QFETCH(QString, firstOctet);
        QWidget host;
        auto *edit = new FIpAddrEdit(&host);
        (new QHBoxLayout(&host))->addWidget(edit);
        host.show();
        QVERIFY(QTest::qWaitForWindowActive(&host));
        edit->setText(QString());
        edit->part(0)->setFocus();
        QVERIFY(edit->part(0)->hasFocus());
        for (QChar c : keys)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        QCOMPARE(edit->part(0)->text(), firstOctet);
        QVERIFY(edit->part(focusedPart)->hasFocus());
    }

    void ipTypingWholeAddress()
    {
        QWidget host;
        auto *edit = new FIpAddrEdit(&host);
        (new QHBoxLayout(&host))->addWidget(edit);
        host.resize(180, 30);
        host.show();
        QVERIFY(QTest::qWaitForWindowActive(&host));
        QSignalSpy edited(edit, &FIpAddrEdit::textedited);
        edit->part(0)->setFocus();
        // Each part's text is selected on entry, so typing replaces it.
        // The "." after a complete octet does not skip the next one.
        for (char c : QByteArray("127.0.0.12."))
            QTest::keyClick(QApplication::focusWidget(), c);
        QCOMPARE(edit->text(), QStringLiteral("127.0.0.12"));
        QVERIFY(edit->part(3)->hasFocus());   // "." in the last octet stays put
        QCOMPARE(edited.last().first().toString(), QStringLiteral("127.0.0.12"));
        WidgetShots::save(&host, QStringLiteral("ip_address_edit"));
    }

    void ipSetText_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        QTest::newRow("valid") << "192.168.1.20" << "192.168.1.20";
        QTest::newRow("leading zeros") << "010.001.2.3" << "010.001.2.3";
        QTest::newRow("octet too big") << "300.1.1.1" << "...";
        QTest::newRow("three octets") << "10.1.1" << "...";
        QTest::newRow("trailing blank") << "10.1.1.1 " << "...";
    }
    void ipSetText()
    {
        QFETCH(QString, input);
        QFETCH(QString, text);
        FIpAddrEdit edit;
        QCOMPARE(edit.text(), QStringLiteral("127.0.0.1"));
        QSignalSpy changed(&edit, &FIpAddrEdit::textchanged);
        QSignalSpy edited(&edit, &FIpAddrEdit::textedited);
        edit.setText(input);
        QCOMPARE(edit.text(), text);
        QVERIFY(changed.count() > 0);
        QCOMPARE(changed.last().first().toString(), text);
        QCOMPARE(edited.count(), 0);   // programmatic changes are not edits
    }

    void padAreas_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("type");
        QTest::newRow("right") << QPoint(95, 50) << 8;
        QTest::newRow("up-right at 30 <= 2.35 x 45") << QPoint(95, 20) << 9;
        QTest::newRow("up, almost straight") << QPoint(52, 5) << 2;
        QTest::newRow("centre") << QPoint(50, 50) << 1;
        QTest::newRow("left") << QPoint(5, 52) << 4;
        QTest::newRow("down-left") << QPoint(20, 95) << 5;
        QTest::newRow("down") << QPoint(50, 98) << 6;
        QTest::newRow("down-right") << QPoint(85, 85) << 7;
        QTest::newRow("up-left") << QPoint(10, 10) << 3;
        QTest::newRow("edge at 0.4 is left/right") << QPoint(100, 70) << 8;
        QTest::newRow("just over 0.4") << QPoint(100, 71) << 7;
    }
    void padAreas()
    {
        QFETCH(QPoint, point);
        QFETCH(int, type);
        fCloudButton pad;
        pad.resize(100, 100);
        QSignalSpy pressed(&pad, &fCloudButton::signalPress);
        QSignalSpy released(&pad, &fCloudButton::signalRelease);
        QTest::mousePress(&pad, Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(int(pressed.first().first().value<fCloudButton::ButtonType>()), type);
        QCOMPARE(int(pad.currentType()), type);
        QTest::mouseRelease(&pad, Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(int(released.first().first().value<fCloudButton::ButtonType>()), type);
        QCOMPARE(int(pad.currentType()), 0);
    }

    void padDragOffReleasesNone()
    {
        fCloudButton pad;
        pad.resize(100, 100);
        pad.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pad));
        QSignalSpy released(&pad, &fCloudButton::signalRelease);
        QTest::mousePress(&pad, Qt::LeftButton, Qt::NoModifier, QPoint(50, 8));
        WidgetShots::save(&pad, QStringLiteral("direction_pad_up"));
        QMouseEvent move(QEvent::MouseMove, QPoint(90, 50), pad.mapToGlobal(QPoint(90, 50)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&pad, &move);
        QTest::mouseRelease(&pad, Qt::LeftButton, Qt::NoModifier, QPoint(90, 50));
        QCOMPARE(int(released.first().first().value<fCloudButton::ButtonType>()), 0);

        // Hovering the centre lights it; leaving clears it.
        QMouseEvent hover(QEvent::MouseMove, QPoint(50, 50), pad.mapToGlobal(QPoint(50, 50)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&pad, &hover);
        QCOMPARE(int(pad.currentType()), 1);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&pad, &leave);
        QCOMPARE(int(pad.currentType()), 0);
    }

    void trapezoidOutlines_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QVector<QLineF>>("outline");
        QTest::addColumn<QLineF>("highlight");
        // 60 x 30: h6 = 5, w6 = 10
        QTest::newRow("narrow left") << 0
            << QVector<QLineF>{QLineF(60, 0, 0, 5), QLineF(0, 5, 0, 25), QLineF(0, 25, 60, 30)}
            << QLineF(60, 30, 60, 0);
        QTest::newRow("narrow right") << 1
            << QVector<QLineF>{QLineF(0, 0, 60, 5), QLineF(60, 5, 60, 25), QLineF(60, 25, 0, 30)}
            << QLineF(0, 30, 0, 0);
        QTest::newRow("narrow top") << 2
            << QVector<QLineF>{QLineF(0, 30, 10, 0), QLineF(10, 0, 50, 0), QLineF(50, 0, 60, 30)}
            << QLineF(60, 30, 0, 30);
        QTest::newRow("narrow bottom") << 3
            << QVector<QLineF>{QLineF(0, 0, 10, 30), QLineF(10, 30, 50, 30), QLineF(50, 30, 60, 0)}
            << QLineF(60, 0, 0, 0);
    }
    void trapezoidOutlines()
    {
        QFETCH(int, direction);
        QFETCH(QVector<QLineF>, outline);
        QFETCH(QLineF, highlight);
        fpolygonButton button(QStringLiteral("上"));
        QCOMPARE(button.objectName(), QStringLiteral("fpolygonButton"));
        button.resize(60, 30);
        button.setDirection(direction);
        QCOMPARE(button.outlineLines(), outline);
        QCOMPARE(button.highlightLine(), highlight);
        button.setDirection(4);   // unknown: unchanged
        QCOMPARE(button.outlineLines(), outline);
        button.resize(120, 60);   // not recomputed on resize
        QCOMPARE(button.outlineLines(), outline);
        if (direction == 0) {
            QWidget host;
            host.setStyleSheet(QStringLiteral("background-color: #1b2230;"));
            host.setAutoFillBackground(true);
            button.setParent(&host);
            button.resize(60, 30);
            button.setDirection(0);
            host.resize(60, 30);
            WidgetShots::save(&host, QStringLiteral("trapezoid_left"));
            button.setParent(nullptr);
        }
    }

    void checkableButtonDoubleClickIsNotAClick()
    {
        FCheckabelButton button(QStringLiteral("信号切换"));
        QVERIFY(button.isCheckable());
        QVERIFY(button.isFlat());
        QSignalSpy doubles(&button, &FCheckabelButton::doubleClick);
        QSignalSpy clicks(&button, &QPushButton::clicked);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPoint(5, 5), button.mapToGlobal(QPoint(5, 5)), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &dbl);
        QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(clicks.count(), 0);
        QVERIFY(!button.isChecked());
    }

    void tableRestylesEvenRowsOnly()
    {
        FTableWidget table;
        table.setColumnCount(2);
        table.setRowCount(4);
        table.setHorizontalHeaderLabels({QStringLiteral("名称"), QStringLiteral("类型")});
        for (int row = 0; row < 4; ++row) {
            table.setItem(row, 0, new QTableWidgetItem(QStringLiteral("输入 %1").arg(row + 1)));
            auto *combo = new QComboBox;
            combo->addItems({QStringLiteral("HDMI"), QStringLiteral("DVI")});
            table.setCellWidget(row, 1, combo);
        }
        QCOMPARE(table.editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(table.selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(table.selectionMode(), QAbstractItemView::SingleSelection);

        table.currentCellChanged(1, 0, 0, 0);   // leaving even row 0 for odd row 1
        QCOMPARE(table.item(0, 0)->background().color(), QColor(245, 245, 244));
        QVERIFY(table.cellWidget(0, 1)->styleSheet().contains(QStringLiteral("rgb(245, 245, 244)")));
        QVERIFY(table.cellWidget(1, 1)->styleSheet().isEmpty());

        table.currentCellChanged(2, 0, 1, 0);   // odd row left: untouched; even row entered
        QCOMPARE(table.item(1, 0)->background().style(), Qt::NoBrush);
        QVERIFY(table.cellWidget(2, 1)->styleSheet().contains(QStringLiteral("transparent")));
        QCOMPARE(table.item(2, 0)->background().style(), Qt::NoBrush);

        table.currentCellChanged(3, 0, -1, 0);   // no previous row
        QVERIFY(table.cellWidget(3, 1)->styleSheet().isEmpty());

        table.resize(320, 170);
        table.selectRow(1);
        WidgetShots::save(&table, QStringLiteral("table"));
    }
};

QTEST_MAIN(SmallWidgetsTest)
#include "tst_smallwidgets.moc"
