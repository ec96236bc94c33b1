#pragma once

// Drives the modal dialogs that exec() opens inside a test: from a timer, since exec() only
// returns once the dialog has closed.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

namespace ModalDriver {

template <typename T>
struct NotDeduced
{
    using type = T;
};

// Runs action on the modal dialog once exec() has shown it; the test fails when no dialog of
// that kind opens.
template <typename Dialog = QWidget>
void whenModal(typename NotDeduced<std::function<void(Dialog*)>>::type action)
{
    QTimer::singleShot(0, [action] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QWidget* widget = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(widget);
        QVERIFY2(dialog, widget->metaObject()->className());
        action(dialog);
    });
}

// Closes the next modal box as soon as it is open (a waited command may come first) and keeps
// the texts of its labels. Gives up after timeoutMs.
inline void dismissNextModal(QStringList* texts, int timeoutMs = 10000)
{
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, texts, timeoutMs] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box && clock->elapsed() < timeoutMs)
            return;
        if (box) {
            for (QLabel* label : box->findChildren<QLabel*>())
                *texts << label->text();
            box->close();
        }
        poll->stop();
        poll->deleteLater();
        delete clock;
    });
    poll->start(20);
}

} // namespace ModalDriver
