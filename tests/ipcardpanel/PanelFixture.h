#pragma once

// Shared by the panel's widget tests: a simulated IP card on an address of its own (port 4002,
// which the panel always dials; tests run in parallel, so every test function takes another
// address), a working folder, the panel, and a catcher that answers the message boxes the panel
// opens and keeps their texts.

#include "IpCardFarmThread.h"
#include "ipcard/panel/FirmwareChunkPlan.h"
#include "TempWorkDir.h"

#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/FBasePushButton.h"
#include "framework/FMessageBoxDialog.h"
#include "ipcard/link/OpenIpCardLinks.h"
#include "ipcard/panel/HisliconConfigDialog.h"
#include "ipcard/panel/IpCardCall.h"
#include "platform/LoopbackGuard.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <utility>
#include <time.h>

// Presses OK on every message box that opens (questions included) and records its text.
class BoxCatcher : public QObject
{
public:
    BoxCatcher()
    {
        connect(&poll, &QTimer::timeout, this, &BoxCatcher::look);
        poll.start(15);
    }
    QStringList texts;
    // The texts seen so far, forgotten.
    QStringList take() { return std::exchange(texts, {}); }
    bool waitFor(const QString& text, int ms = 5000)
    {
        return QTest::qWaitFor([this, &text] { return texts.contains(text); }, ms);
    }

private:
    void look()
    {
        QWidget* box = QApplication::activeModalWidget();
        if (auto* f = qobject_cast<FMessageBoxDialog*>(box)) {
            texts << f->getTextLabel()->text();
            f->getOkButton()->click();
        } else if (auto* m = qobject_cast<CMeetingMessageBoxDialog*>(box)) {
            texts << m->getTextLabel()->text();
            m->getOkButton()->click();
        } else if (auto* q = qobject_cast<QMessageBox*>(box)) {
            texts << q->text();
            q->accept();
        }
    }
    QTimer poll;
};

class PanelFixture
{
public:
    // suite and n pick the card's address 127.14.suite.n.
    PanelFixture(int suite, int n)
        : card(QHostAddress(QStringLiteral("127.14.%1.%2").arg(suite).arg(n)), HisliconConfigDialog::CardPort)
    {
        LoopbackGuard::setActiveForTesting(true);
        openIpCardLinks.clear();
        panel = std::make_unique<HisliconConfigDialog>(card.host());
        panel->resize(900, 600);
    }
    ~PanelFixture()
    {
        panel.reset();
        openIpCardLinks.clear();
    }

    bool isReady() const { return card.isStarted() && dir.isValid(); }

    template <typename T>
    T* child(const char* name) const
    {
        T* found = panel->findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    void click(const char* button) { child<QPushButton>(button)->click(); }
    int page() const { return child<QStackedWidget>("stackedWidget")->currentIndex(); }

    // Requests of a class (and command, -1 for any) the card received since the last mark().
    int requests(int msgClass, int msgCommand = -1)
    {
        int count = 0;
        const QList<IpCardFarmThread::Seen> seen = card.requests();
        for (int i = marked; i < seen.size(); ++i)
            count += seen[i].msgClass == msgClass && (msgCommand < 0 || seen[i].msgCommand == msgCommand) ? 1 : 0;
        return count;
    }
    void mark() { marked = card.requests().size(); }

    IpCardFarmThread card;
    TempWorkDir dir;
    BoxCatcher boxes;
    std::unique_ptr<HisliconConfigDialog> panel;

private:
    int marked = 0;
};

// Log times are local: every panel test runs in one fixed zone.
#define PANEL_TEST_MAIN(TestClass)                                                                 \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        qputenv("TZ", "UTC");                                                                      \
        tzset();                                                                                   \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
