#pragma once

// Shared pieces of the application tests: a throw-away program folder with the staged runtime
// files, and a watcher that answers the modal message boxes the code under test opens.

#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/FBasePushButton.h"
#include "TempWorkDir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace AppTest {

inline bool copyTree(const QString& from, const QString& to)
{
    QDir source(from);
    if (!source.exists() || !QDir().mkpath(to))
        return false;
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!copyTree(entry.absoluteFilePath(), target))
                return false;
        } else {
            QFile::remove(target);
            if (!QFile::copy(entry.absoluteFilePath(), target))
                return false;
        }
    }
    return true;
}

// Copies data/ and skin/ of the staged program folder into the temporary one.
inline bool stageRuntime(const TempWorkDir& dir)
{
    const QString bin = QString::fromLocal8Bit(qgetenv("VEXILO_BIN_DIR"));
    return !bin.isEmpty() && copyTree(bin + QStringLiteral("/data"), dir.filePath(QStringLiteral("data")))
           && copyTree(bin + QStringLiteral("/skin"), dir.filePath(QStringLiteral("skin")));
}

// Points the program folder's connection at the simulated matrix, with the login's model row
// (2: 16 x 16).
inline bool pointAtMatrix(const TempWorkDir& dir, const QString& address, int port, int modelRow = 2)
{
    return dir.write(QStringLiteral("data/ClientConfig.dat"),
                     QStringLiteral("[DEVICE_INFO]\ndev_addr=%1\ndev_tcp_port=%2\n[CLIENT_INFO]\ndev_type=%3\n")
                         .arg(address).arg(port).arg(modelRow).toUtf8());
}

// Answers every application message box that appears: OK when answerOk, else Cancel. Records
// the texts in the order the boxes appeared.
class MessageBoxWatcher : public QObject
{
public:
    explicit MessageBoxWatcher(bool answerOk = true)
        : ok(answerOk)
    {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this]() { answer(); });
        timer.start();
    }

    void setAnswer(bool answerOk) { ok = answerOk; }
    QStringList texts() const { return seen; }
    void clear() { seen.clear(); }

private:
    void answer()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<CMeetingMessageBoxDialog*>(w);
            if (!box || !box->isVisible() || handled.contains(box))
                continue;
            handled << box;
            seen << box->getTextLabel()->text();
            if (ok || box->getCancelButton()->isHidden())
                box->getOkButton()->click();
            else
                box->getCancelButton()->click();
        }
        handled.removeAll(nullptr);
    }

    bool ok;
    QTimer timer;
    QStringList seen;
    QList<QPointer<CMeetingMessageBoxDialog>> handled;
};

// Runs action once the next top-level widget of type T is visible (for modal exec() calls).
template <typename T, typename Action>
void whenShown(Action action, int timeoutMs = 20000)
{
    auto* poll = new QTimer;
    auto* elapsed = new int(0);
    QObject::connect(poll, &QTimer::timeout, [poll, elapsed, action, timeoutMs]() {
        *elapsed += 20;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* target = qobject_cast<T*>(w); target && target->isVisible()) {
                poll->stop();
                poll->deleteLater();
                delete elapsed;
                action(target);
                return;
            }
        }
        if (*elapsed > timeoutMs) {
            poll->stop();
            poll->deleteLater();
            delete elapsed;
        }
    });
    poll->start(20);
}

} // namespace AppTest
