#pragma once

// The card settings and EDID pages against a simulated matrix: a working folder with the staged
// command templates, devicesim with the chosen cards and the link connected to it, a fresh
// matrix model per test, and what the matrix received and holds.

#include "../pages/SwitchingTestEnv.h"
#include "pagekit/MInputListWidget.h"
#include "pagekit/MInputTreeList.h"
#include "pagekit/PortDrag.h"
#include "pagekit/ProcessSingleton.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QSlider>

class CardPagesEnv : public SwitchingTestEnv
{
public:
    // devicesim with the model and cards, the link connected to it.
    bool start(int ports, const QString& inCards, const QString& outCards, QString* error)
    {
        useModel(ports, inCards, outCards);
        return startMatrix(error);
    }

    // Port records as the letters make them, nothing stored; what devicesim received forgotten.
    void freshModel()
    {
        useModel(g_deviceModel, g_inCardTypes, g_outCardTypes);
        clearReceived();
    }

    // The settings the matrix holds for a 0-based port, by command word.
    QMap<QString, QByteArray> matrixSettings(char side, int port)
    {
        QMap<QString, QByteArray> map;
        const QString request = QStringLiteral("settings %1 %2").arg(side == 'I' ? "in" : "out").arg(port + 1);
        for (const QByteArray& field : sim.controlOk(request).split(' ')) {
            const int eq = field.indexOf('=');
            if (eq > 0)
                map.insert(QString::fromLatin1(field.left(eq)), unescape(field.mid(eq + 1)));
        }
        return map;
    }

    // Chooses first in the box and, while its command waits for the matrix's answer (held
    // 600 ms), second, as two quick wheel notches would. True when the second came during the wait.
    bool chooseTwiceDuringWait(QComboBox* box, int first, int second)
    {
        if (!sim.accepts(QStringLiteral("delay 600")))
            return false;
        const auto during = std::make_shared<bool>(false);
        QTimer::singleShot(150, box, [box, second, during] { box->setCurrentIndex(second); *during = true; });
        box->setCurrentIndex(first);
        return *during;
    }

    // Lets commands in flight arrive, then what devicesim received since the last clear.
    QStringList receivedSettled()
    {
        QTest::qWait(50);
        return received();
    }

    // Bytes as devicesim prints them: blanks, controls and bytes above 0x7E as \\xHH.
    static QString escape(const QByteArray& bytes)
    {
        QString out;
        for (const char c : bytes) {
            const uchar u = uchar(c);
            if (u <= 0x20 || u >= 0x7f)
                out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
            else
                out += QLatin1Char(c);
        }
        return out;
    }

    static QByteArray unescape(const QByteArray& text)
    {
        QByteArray out;
        for (int i = 0; i < text.size(); ++i) {
            if (text.at(i) == '\\' && i + 1 < text.size() && text.at(i + 1) == 'x') {
                out.append(char(text.mid(i + 2, 2).toInt(nullptr, 16)));
                i += 3;
            } else if (text.at(i) == '\\' && i + 1 < text.size()) {
                const char c = text.at(++i);
                out.append(c == 'r' ? '\r' : c == 'n' ? '\n' : c);
            } else {
                out.append(text.at(i));
            }
        }
        return out;
    }

    // A page built afresh (the tests change the model and the matrix size between functions).
    template <typename Page>
    static Page* freshPage()
    {
        if (ProcessSingleton<Page>::exists())
            delete Page::instance();
        Page* page = Page::instance();
        page->resize(1100, 700);
        page->initConfig(false);
        page->show();
        return page;
    }

    // Selects the port's row in a page's port list.
    static bool selectPort(QWidget* page, int port)
    {
        auto* list = page->findChild<MInputTreeList*>();
        for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->data(0, Qt::UserRole).toInt() == port) {
                list->setCurrentItem(list->topLevelItem(i));
                return list->currentCardIndex() == port;
            }
        }
        return false;
    }

    // The ports a page lists, in row order.
    static QList<int> listedPorts(QWidget* page)
    {
        QList<int> ports;
        auto* list = page->findChild<MInputTreeList*>();
        for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
            const int port = list->topLevelItem(i)->data(0, Qt::UserRole).toInt();
            if (port >= 0)
                ports << port;
        }
        return ports;
    }

    // A slider dragged to value and released (sliders report only on release).
    static void release(QSlider* slider, int value)
    {
        slider->setSliderDown(true);
        slider->setSliderPosition(value);
        slider->setSliderDown(false);
    }

    // A port dropped on a tile, as the window system delivers a drag from a port list.
    static void dropPort(QWidget* tile, int port)
    {
        QScopedPointer<QMimeData> data(PortDrag::mimeFor(port));
        QDragEnterEvent enter(tile->rect().center(), Qt::LinkAction, data.data(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tile, &enter);
        QDropEvent drop(tile->rect().center(), Qt::LinkAction, data.data(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tile, &drop);
    }

    // Types into a line edit and finishes the edit, as leaving the field does.
    static void typeAndFinish(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        edit->del();
        // One character at a time, as typed (an input method delivers Chinese the same way).
        for (const QChar c : text)
            edit->insert(QString(c));
        QTest::keyClick(edit, Qt::Key_Return);
    }
};
