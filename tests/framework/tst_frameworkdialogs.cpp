#include "framework/FBasePushButton.h"
#include "framework/FInputDialog.h"
#include "framework/FMessageBoxDialog.h"
#include "framework/FTitleBar.h"
#include "framework/MessageShortcuts.h"
#include "ModalDriver.h"
#include "framework/ScreenMetrics.h"
#include "WidgetShots.h"

#include <QApplication>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class FrameworkDialogsTest : public QObject
{
    Q_OBJECT

    WidgetShots::SkinnedWorkDir work;

private slots:
    void initTestCase() { QVERIFY(work.isSkinned()); }
    void init() { screenWidth = screenHeight = 0; }

    void inputOkFollowsTrimmedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("okEnabled");
        QTest::addColumn<QString>("result");
        QTest::newRow("nothing") << QString() << false << QString();
        QTest::newRow("blanks") << QStringLiteral("   ") << false << QString();
        QTest::newRow("padded") << QStringLiteral("  scene 1 ") << true << QStringLiteral("scene 1");
        QTest::newRow("plain") << QStringLiteral("abc") << true << QStringLiteral("abc");
    }
    void inputOkFollowsTrimmedText()
    {
        QFETCH(QString, typed);
        QFETCH(bool, okEnabled);
        QFETCH(QString, result);
        FInputDialog dialog;
        QVERIFY(!dialog.getOkButton()->isEnabled());   // nothing typed yet
        QTest::keyClicks(dialog.getLineEdit(), typed);
        QCOMPARE(dialog.getOkButton()->isEnabled(), okEnabled);
        QCOMPARE(dialog.getText(), result);
    }

    void inputResults_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("ok") << "ok" << 1;
        QTest::newRow("cancel") << "cancel" << 0;
        QTest::newRow("escape") << "escape" << 0;
        QTest::newRow("close button") << "close" << 0;
    }
    void inputResults()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        FInputDialog dialog;
        dialog.setLabelText(QStringLiteral("场景名称："));
        dialog.setText(QStringLiteral(" 会议室 "));
        ModalDriver::whenModal<FInputDialog>([how](FInputDialog *d) {
            if (how == QLatin1String("ok"))
                QTest::mouseClick(d->getOkButton(), Qt::LeftButton);
            else if (how == QLatin1String("cancel"))
                QTest::mouseClick(d->getCancelButton(), Qt::LeftButton);
            else if (how == QLatin1String("escape"))
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->getTitleBar()->getCloseButton()->click();
        });
        QCOMPARE(dialog.exec(), result);
        QCOMPARE(dialog.getText(), QStringLiteral("会议室"));
        QVERIFY(!dialog.isVisible());
    }

    void dialogIsCentredOnRecordedScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPoint>("pos");
        QTest::newRow("fits") << QSize(1000, 700) << QPoint(380, 270);
        QTest::newRow("larger than screen") << QSize(200, 100) << QPoint(-20, -30);
    }
    void dialogIsCentredOnRecordedScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(QPoint, pos);
        screenWidth = screen.width();
        screenHeight = screen.height();
        FInputDialog dialog;   // 240 x 160
        dialog.show();
        QCOMPARE(dialog.pos(), pos);
        QCOMPARE(dialog.size(), QSize(240, 160));
        WidgetShots::save(&dialog, QStringLiteral("input_dialog"));
    }

    void dialogDragsByTitleBarOnly_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<bool>("moves");
        QTest::newRow("title") << 10 << false << true;
        QTest::newRow("below title") << 30 << false << false;
        QTest::newRow("maximised") << 10 << true << false;
    }
    void dialogDragsByTitleBarOnly()
    {
        QFETCH(int, y);
        QFETCH(bool, maximised);
        QFETCH(bool, moves);
        FInputDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (maximised) {
            QObject::disconnect(dialog.getTitleBar(), &FTitleBar::MaxNormal, &dialog, nullptr);
            dialog.getTitleBar()->swithMaxNormal();
        }
        const QPoint before = dialog.pos();
        const QPoint at(60, y);
        const QPoint g = dialog.mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &press);
        QMouseEvent move(QEvent::MouseMove, at + QPoint(15, 7), g + QPoint(15, 7), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&dialog, &move);
        QCOMPARE(dialog.pos(), moves ? before + QPoint(15, 7) : before);
    }

    void messageKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shownTitle");
        QTest::addColumn<bool>("cancelShown");
        QTest::addColumn<QString>("image");
        QTest::newRow("information") << 0 << QString() << QStringLiteral("提示") << false << "info.png";
        QTest::newRow("question") << 1 << QString() << QStringLiteral("询问") << true << "question.png";
        QTest::newRow("error") << 2 << QString() << QStringLiteral("错误") << false << "error.png";
        QTest::newRow("own title") << 2 << QStringLiteral("连接") << QStringLiteral("连接") << false << "error.png";
        QTest::newRow("unknown kind") << 7 << QString() << QString() << true << QString();
    }
    void messageKinds()
    {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, shownTitle);
        QFETCH(bool, cancelShown);
        QFETCH(QString, image);
        screenWidth = 800;
        screenHeight = 600;
        QPointer<FMessageBoxDialog> box = new FMessageBoxDialog;
        QCOMPARE(box->objectName(), QStringLiteral("FMessageBoxDialog"));
        box->setMessage(title, QStringLiteral("设备连接失败，请检查网络设置。"), kind);
        box->show();
        QCOMPARE(box->getTitleBar()->getTitleLabel()->text(), shownTitle);
        QCOMPARE(box->getTitleBar()->getTitleLabel()->objectName(), QString());
        QCOMPARE(box->getCancelButton()->isVisible(), cancelShown);
        QVERIFY(box->getOkButton()->isVisible());
        QCOMPARE(box->getIconLabel()->styleSheet(),
                 image.isEmpty() ? QString() : QStringLiteral("border-image: url(skin/images/%1);").arg(image));
        QCOMPARE(box->size(), QSize(303, 143));
        WidgetShots::save(box, QStringLiteral("fmessagebox_%1").arg(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_')));
        box->close();
        QTRY_VERIFY(box.isNull());   // deletes itself
    }

    void shortcutsRunModalBoxes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("pressOk");
        QTest::addColumn<int>("result");
        QTest::newRow("question ok") << 1 << true << 1;
        QTest::newRow("question cancel") << 1 << false << 0;
        QTest::newRow("question escape") << 1 << false << 0;
        QTest::newRow("information") << 0 << true << -1;
        QTest::newRow("error") << 2 << true << -1;
    }
    void shortcutsRunModalBoxes()
    {
        QFETCH(int, kind);
        QFETCH(bool, pressOk);
        QFETCH(int, result);
        const bool escape = QByteArray(QTest::currentDataTag()).contains("escape");
        QPointer<FMessageBoxDialog> seen;
        bool cancelVisible = true;
        ModalDriver::whenModal<FMessageBoxDialog>([&](FMessageBoxDialog *box) {
            seen = box;
            cancelVisible = box->getCancelButton()->isVisible();
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                QTest::mouseClick(pressOk ? box->getOkButton() : box->getCancelButton(), Qt::LeftButton);
        });
        int got = -1;
        if (kind == 1)
            got = showQuestionMessage(QStringLiteral("确定要删除吗？"));
        else if (kind == 0)
            showInfoMessage(QStringLiteral("保存成功"));
        else
            showErrorMessage(QStringLiteral("保存失败"));
        QCOMPARE(got, result);
        QCOMPARE(cancelVisible, kind == 1);
        QTRY_VERIFY(seen.isNull());
    }

    void okButtonsHaveShadow()
    {
        FBasePushButton button(QStringLiteral("确定"));
        auto *shadow = qobject_cast<QGraphicsDropShadowEffect *>(button.graphicsEffect());
        QVERIFY(shadow);
        QCOMPARE(shadow->offset(), QPointF(-1, 1));
        QCOMPARE(shadow->blurRadius(), 6.0);
        QCOMPARE(shadow->color(), QColor(Qt::gray));
    }
};

QTEST_MAIN(FrameworkDialogsTest)
#include "tst_frameworkdialogs.moc"
