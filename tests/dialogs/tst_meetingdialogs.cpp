#include "dialogs/CMeetingBaseDialog.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/FBasePushButton.h"
#include "framework/FTitleBar.h"
#include "ModalDriver.h"
#include "WidgetShots.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class SizedDialog : public CMeetingBaseDialog
{
public:
    explicit SizedDialog(const QSize &size) { presetSize = size; }
};

} // namespace

class MeetingDialogsTest : public QObject
{
    Q_OBJECT

    WidgetShots::SkinnedWorkDir work;

private slots:
    void initTestCase() { QVERIFY(work.isSkinned()); }

    void questionResults_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("ok") << "ok" << 1;
        QTest::newRow("cancel") << "cancel" << 0;
        QTest::newRow("close button") << "close" << 0;
        QTest::newRow("escape, then cancel") << "escape" << 0;
    }
    void questionResults()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        QPointer<CMeetingMessageBoxDialog> seen;
        bool survivedEscape = true;
        ModalDriver::whenModal<CMeetingMessageBoxDialog>([&](CMeetingMessageBoxDialog *box) {
            seen = box;
            QVERIFY(box->getCancelButton()->isVisible());
            if (how == QLatin1String("ok")) {
                QTest::mouseClick(box->getOkButton(), Qt::LeftButton);
            } else if (how == QLatin1String("cancel")) {
                QTest::mouseClick(box->getCancelButton(), Qt::LeftButton);
            } else if (how == QLatin1String("close")) {
                box->getTitleBar()->getCloseButton()->click();
            } else {
                QTest::keyClick(box, Qt::Key_Escape);
                QTest::qWait(300);   // longer than any close animation
                survivedEscape = box->isVisible();
                QTest::mouseClick(box->getCancelButton(), Qt::LeftButton);
            }
        });
        QCOMPARE(CMeetingMessageBoxDialog::showQuestion(QStringLiteral("您确定要注销吗？")), result);
        QVERIFY(survivedEscape);
        QTRY_VERIFY(seen.isNull());   // each box deletes itself
    }

    void informationAndErrorShowOnlyOk_data()
    {
        QTest::addColumn<bool>("error");
        QTest::newRow("information") << false;
        QTest::newRow("error") << true;
    }
    void informationAndErrorShowOnlyOk()
    {
        QFETCH(bool, error);
        bool cancelVisible = true;
        QString title;
        ModalDriver::whenModal<CMeetingMessageBoxDialog>([&](CMeetingMessageBoxDialog *box) {
            cancelVisible = box->getCancelButton()->isVisible();
            title = box->getTitleBar()->getTitleLabel()->text();
            WidgetShots::save(box, error ? QStringLiteral("meeting_error") : QStringLiteral("meeting_information"));
            QTest::mouseClick(box->getOkButton(), Qt::LeftButton);
        });
        if (error)
            CMeetingMessageBoxDialog::showError(QStringLiteral("切换失败"));
        else
            CMeetingMessageBoxDialog::showInformation(QStringLiteral("保存成功"));
        QVERIFY(!cancelVisible);
        QCOMPARE(title, error ? QStringLiteral("错误") : QStringLiteral("提示"));
    }

    void setMessage_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("own title") << QStringLiteral("场景") << 1 << QStringLiteral("场景")
                                   << "border-image: url(skin/images/question.png);" << true;
        QTest::newRow("unknown kind keeps empty title") << QString() << 9 << QString() << QString() << true;
    }
    void setMessage()
    {
        QFETCH(QString, title);
        QFETCH(int, kind);
        QFETCH(QString, shown);
        QFETCH(QString, icon);
        QFETCH(bool, cancel);
        auto *box = new CMeetingMessageBoxDialog;
        box->setMessage(title, QStringLiteral("是否保存当前场景到位置 3？"), kind);
        box->show();
        QCOMPARE(box->getTitleBar()->getTitleLabel()->text(), shown);
        QCOMPARE(box->getIconLabel()->styleSheet(), icon);
        QCOMPARE(box->getCancelButton()->isVisible(), cancel);
        QCOMPARE(box->getTextLabel()->text(), QStringLiteral("是否保存当前场景到位置 3？"));
        QCOMPARE(box->property("Attribute").toString(), QStringLiteral("PaneDialog"));
        QCOMPARE(box->property("Type").toString(), QStringLiteral("MeetingBaseDialog"));
        if (kind == 1)
            WidgetShots::save(box, QStringLiteral("meeting_question"));
        delete box;
    }

    void titleBarShowsOnlyClose()
    {
        CMeetingBaseDialog dialog;
        FTitleBar *bar = dialog.getTitleBar();
        QCOMPARE(bar->height(), 48);
        dialog.show();
        const QList<QToolButton *> buttons = bar->findChildren<QToolButton *>();
        for (QToolButton *b : buttons)
            QCOMPARE(b->isVisible(), b == bar->getCloseButton());
        QCOMPARE(bar->getCloseButton()->objectName(), QStringLiteral("close"));
        QVERIFY(bar->getCloseButton()->icon().isNull());
        QCOMPARE(int(dialog.windowFlags() & (Qt::Dialog | Qt::FramelessWindowHint)), 0x803);
    }

    void centredOnAvailableArea()
    {
        const QSize area = QGuiApplication::primaryScreen()->availableGeometry().size();
        SizedDialog dialog(QSize(300, 200));
        dialog.show();
        QCOMPARE(dialog.geometry(), QRect(area.width() / 2 - 150, area.height() / 2 - 100, 300, 200));
    }

    void escapeIsSwallowedAndDragWorks()
    {
        SizedDialog dialog(QSize(300, 200));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::qWait(250);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);

        for (int y : {20, 60}) {
            const QPoint before = dialog.pos();
            const QPoint at(100, y);
            const QPoint g = dialog.mapToGlobal(at);
            QMouseEvent press(QEvent::MouseButtonPress, at, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &press);
            QMouseEvent move(QEvent::MouseMove, at + QPoint(9, 4), g + QPoint(9, 4), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(&dialog, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, at, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &release);
            // Only the 48 px title bar drags.
            QCOMPARE(dialog.pos(), y < 48 ? before + QPoint(9, 4) : before);
        }
    }

    void fadedDialogComesBackVisible()
    {
        SizedDialog dialog(QSize(200, 120));
        dialog.show();
        dialog.animationClose();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.windowOpacity(), 1.0);
    }
};

QTEST_MAIN(MeetingDialogsTest)
#include "tst_meetingdialogs.moc"
