#include "framework/FTitleBar.h"
#include "WidgetShots.h"

#include <QLabel>
#include <QLayout>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TitleBarTest : public QObject
{
    Q_OBJECT

    WidgetShots::SkinnedWorkDir work;

    static QImage iconImage(const QIcon &icon) { return icon.pixmap(24, 24).toImage(); }
    static QImage fileImage(const char *path) { return iconImage(QIcon(QString::fromLatin1(path))); }

private slots:
    void initTestCase() { QVERIFY(work.isSkinned()); }

    void maximiseTogglesStateAndIcon()
    {
        FTitleBar bar;
        QSignalSpy maxSpy(&bar, &FTitleBar::MaxNormal);
        const QImage atStart = iconImage(bar.getMaxButton()->icon());
        QCOMPARE(atStart, fileImage("skin/icons/fullscreensize.png"));

        bar.getMaxButton()->click();
        QVERIFY(bar.isMaximised());
        QCOMPARE(iconImage(bar.getMaxButton()->icon()), fileImage("skin/icons/normalsize.png"));

        bar.getMaxButton()->click();
        QVERIFY(!bar.isMaximised());
        QCOMPARE(maxSpy.count(), 2);
        QCOMPARE(iconImage(bar.getMaxButton()->icon()), atStart);
    }

    void lockTogglesIcon()
    {
        FTitleBar bar;
        bar.getLockButton()->click();
        QVERIFY(bar.isLocked());
        QCOMPARE(iconImage(bar.getLockButton()->icon()), fileImage("skin/images/appbar.lock.png"));
        bar.getLockButton()->click();
        QVERIFY(!bar.isLocked());
        QCOMPARE(iconImage(bar.getLockButton()->icon()), fileImage("skin/images/appbar.unlock.keyhole.png"));
    }

    void buttonsBecomeSignals()
    {
        FTitleBar bar;
        QSignalSpy minSpy(&bar, &FTitleBar::minimuned);
        QSignalSpy closeSpy(&bar, &FTitleBar::closed);
        bar.getMinButton()->click();
        bar.getCloseButton()->click();
        bar.getCloseButton()->click();
        QCOMPARE(minSpy.count(), 1);
        QCOMPARE(closeSpy.count(), 2);
        // Neither touches the toggles.
        QVERIFY(!bar.isMaximised());
        QVERIFY(!bar.isLocked());
    }

    void onlyCloseButtonIsNamedAndNoneTakesFocus()
    {
        FTitleBar bar;
        QCOMPARE(bar.objectName(), QStringLiteral("FTitleBar"));
        QCOMPARE(bar.getTitleLabel()->objectName(), QStringLiteral("FTitleLabel"));
        const QList<QToolButton *> buttons = bar.findChildren<QToolButton *>();
        QCOMPARE(buttons.size(), 7);
        for (QToolButton *b : buttons) {
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
            QCOMPARE(b->objectName(), b == bar.getCloseButton() ? QStringLiteral("close") : QString());
        }
    }

    void heightLeavesLockIconSize()
    {
        FTitleBar bar;
        const QSize lockSize = bar.getLockButton()->iconSize();
        bar.setTitleBarHeight(48);
        QCOMPARE(bar.height(), 48);
        QCOMPARE(bar.getTitleLabel()->height(), 48);
        QCOMPARE(bar.getLockButton()->iconSize(), lockSize);
        for (QToolButton *b : {bar.getLogoButton(), bar.getMenuButton(), bar.getSkinButton(),
                               bar.getMinButton(), bar.getMaxButton(), bar.getCloseButton()})
            QCOMPARE(b->iconSize(), QSize(48, 48));
    }

    void titleTextSetsLabelName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("isNull");
        QTest::addColumn<QString>("expected");
        QTest::newRow("named") << QByteArray("LoginTitle") << false << QStringLiteral("LoginTitle");
        QTest::newRow("null") << QByteArray() << true << QString();
    }
    void titleTextSetsLabelName()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, isNull);
        QFETCH(QString, expected);
        FTitleBar bar;
        bar.setTitleBarHeight(30);
        bar.setTitleText(QStringLiteral("控制台"), isNull ? nullptr : name.constData());
        QCOMPARE(bar.getTitleLabel()->text(), QStringLiteral("控制台"));
        QCOMPARE(bar.getTitleLabel()->objectName(), expected);
        QCOMPARE(bar.getTitleLabel()->height(), 30);
    }

    void closeIconAndName()
    {
        FTitleBar bar;
        bar.setCloseButtonIcon("", nullptr);
        QVERIFY(bar.getCloseButton()->icon().isNull());
        QCOMPARE(bar.getCloseButton()->objectName(), QStringLiteral("close"));
        bar.setCloseButtonIcon("skin/icons/close.png", "dialogClose");
        QCOMPARE(bar.getCloseButton()->objectName(), QStringLiteral("dialogClose"));
        QCOMPARE(bar.getCloseButton()->iconSize(), QSize(24, 24));
    }

    void clearCheckedSparesLogo()
    {
        FTitleBar bar;
        const QList<QToolButton *> all = bar.findChildren<QToolButton *>();
        for (QToolButton *b : all) {
            b->setCheckable(true);
            b->setChecked(true);
        }
        bar.clearChecked();
        for (QToolButton *b : all)
            QCOMPARE(b->isChecked(), b == bar.getLogoButton());
    }

    void hiddenButtonsKeepOrderRightAligned()
    {
        QWidget host;
        auto *bar = new FTitleBar(&host);
        bar->setTitleText(QStringLiteral("矩阵控制"));
        host.resize(600, 24);
        bar->resize(600, 24);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        WidgetShots::save(bar, QStringLiteral("titlebar_all_buttons"));

        bar->setSkinButtonVisible(false);
        bar->setLockButtonVisible(false);
        QCoreApplication::processEvents();
        bar->layout()->activate();
        const QList<QToolButton *> shown = {bar->getMenuButton(), bar->getMinButton(),
                                            bar->getMaxButton(), bar->getCloseButton()};
        for (int i = 1; i < shown.size(); ++i)
            QVERIFY(shown[i - 1]->geometry().right() < shown[i]->geometry().left());
        QCOMPARE(bar->getCloseButton()->geometry().right(), bar->width() - 1 - 5);
        QVERIFY(bar->getLogoButton()->geometry().left() == 0);
        WidgetShots::save(bar, QStringLiteral("titlebar_some_hidden"));
    }
};

QTEST_MAIN(TitleBarTest)
#include "tst_titlebar.moc"
