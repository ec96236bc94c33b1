// Every setting of one input port and one output port of every card type that has settings,
// made on the pages and read back from the simulated matrix's own state (not from what was
// sent). Settings a card type does not have are disabled on the page and absent at the matrix.
// Run as two tests: "inputCards" and "outputCards".
#include "CardPagesEnv.h"
#include "core/PublicClass.h"
#include "pages/cardsettings/MInputCardSetting.h"
#include "pages/cardsettings/MOutputCardSetting.h"
#include "pages/edid/MEDIDSettingWidget.h"
#include "pages/switching/ScreenWidget.h"

#include <QPushButton>

namespace {

// A port of every input and output kind; slot 12 of the outputs is a preview card.
const QString kInputs = QStringLiteral("abcdijklmz13****");
const QString kOutputs = QStringLiteral("abcdijklmz13e***");

// The command word and value that an entry's template sends: "/InAudio:%1:MUTE;" -> InAudio, MUTE.
QPair<QString, QByteArray> wordAndValue(int cardType, const QString& group, const QString& key)
{
    const QString command = getCommand(cardType, group, key);
    const QString body = command.mid(1, command.size() - 2);
    return {body.section(QLatin1Char(':'), 0, 0), body.section(QLatin1Char(':'), -1).toLatin1()};
}

using Expected = QMap<QString, QByteArray>;

} // namespace

class tst_AllSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void inputCards_data();
    void inputCards();
    void outputCards_data();
    void outputCards();

private:
    static void addPorts(const QString& letters);
    // Chooses the last entry of each visible, enabled box with a choice and expects its command's value.
    void chooseLastEntries(QWidget* panel, int type, const QList<QPair<const char*, const char*>>& boxes,
                           Expected* expected);
    void copyAndChooseEdid(int port, int type, Expected* expected);

    std::unique_ptr<CardPagesEnv> env;
};

void tst_AllSettings::initTestCase()
{
    env = std::make_unique<CardPagesEnv>();
    QString error;
    QVERIFY2(env->start(64, kInputs, kOutputs, &error), qPrintable(error));
}

void tst_AllSettings::cleanupTestCase()
{
    env.reset();
}

void tst_AllSettings::addPorts(const QString& letters)
{
    QTest::addColumn<int>("port");
    for (int slot = 0; slot < letters.size(); ++slot) {
        if (letters.at(slot) == QLatin1Char('*'))
            continue;
        // Both halves of a mixed card; the port a preview card is listed at; else an odd port (a
        // 4K HDBT card has only those).
        const QChar letter = letters.at(slot);
        const bool mixed = letter == QLatin1Char('i') || letter == QLatin1Char('k');
        const QList<int> positions = mixed ? QList<int>{0, 2} : letter == QLatin1Char('e') ? QList<int>{0} : QList<int>{1};
        for (int position : positions) {
            const int port = slot * 4 + position;
            QTest::addRow("%c, port %d", letters.at(slot).toLatin1(), port + 1) << port;
        }
    }
}

void tst_AllSettings::chooseLastEntries(QWidget* panel, int type, const QList<QPair<const char*, const char*>>& boxes,
                                        Expected* expected)
{
    for (const auto& [name, group] : boxes) {
        auto* box = panel->findChild<QComboBox*>(QLatin1String(name));
        QVERIFY2(box, name);
        // A single entry (the DVI output's format) leaves nothing to choose.
        if (!box->isVisibleTo(panel) || !box->isEnabled() || box->count() < 2)
            continue;
        const int last = box->count() - 1;
        QVERIFY2(box->currentIndex() != last, name);
        box->setCurrentIndex(last);
        const auto [word, value] = wordAndValue(type, QLatin1String(group),
                                                QStringLiteral("%1.%2").arg(last + 1, 2, 10, QLatin1Char('0')).arg(box->currentText()));
        expected->insert(word, value);
    }
}

void tst_AllSettings::copyAndChooseEdid(int port, int type, Expected* expected)
{
    MEDIDSettingWidget* edid = CardPagesEnv::freshPage<MEDIDSettingWidget>();
    edid->refreshPage(port / 16);
    ScreenWidget* tile = nullptr;
    for (ScreenWidget* candidate : edid->findChildren<ScreenWidget*>())
        tile = candidate->getPortIndex() == port ? candidate : tile;
    QVERIFY(tile);
    QCOMPARE(tile->isEnabled(), type == 1 || type == 3 || type == 11 || type == 15 || type == 19 || type == 23
                                    || type == 27);
    if (!tile->isEnabled())
        return;
    CardPagesEnv::dropPort(tile, 0);
    expected->insert(QStringLiteral("EDIDCopy"), "1");
    tile->mouseClick();
    auto* box = edid->findChild<QComboBox*>(QStringLiteral("EDIDBox"));
    box->setCurrentIndex(box->count() - 1);
    expected->insert(QStringLiteral("EDID"), wordAndValue(PublicClass::eCARD_TYPE_SYSTEM, QStringLiteral("INTERNAL_EDID"),
                                                          box->currentText()).second);
}

void tst_AllSettings::inputCards_data()
{
    addPorts(kInputs);
}

void tst_AllSettings::inputCards()
{
    QFETCH(int, port);
    env->freshModel();
    MInputCardSetting* page = CardPagesEnv::freshPage<MInputCardSetting>();
    QVERIFY(CardPagesEnv::selectPort(page, port));
    const int type = env->model->getCardInfo(port).value(CardKey::InCard).toObject().value(CardKey::CardType).toInt();

    Expected expected;
    chooseLastEntries(page, type,
                      {{"comboBox", "AUDIO"}, {"comboBox_2", "SUBTITLE"}, {"comboBox_3", "SUBTITLE_POS"},
                       {"comboBox_4", "SUBTITLE_COLOR"}, {"comboBox_5", "FORMAT"}},
                      &expected);
    const QList<QPair<const char*, const char*>> sliders = {{"horizontalSlider", "InChroma"},
                                                            {"horizontalSlider_2", "InBright"},
                                                            {"horizontalSlider_3", "InContrast"},
                                                            {"horizontalSlider_4", "InSharp"}};
    for (int i = 0; i < sliders.size(); ++i) {
        auto* slider = page->findChild<QSlider*>(QLatin1String(sliders.at(i).first));
        if (!slider->isEnabled())
            continue;
        CardPagesEnv::release(slider, 11 * (i + 1));
        expected.insert(QLatin1String(sliders.at(i).second), QByteArray::number(11 * (i + 1)));
    }
    CardPagesEnv::typeAndFinish(page->findChild<QLineEdit*>(QStringLiteral("lineEdit_3")), QStringLiteral("Desk %1").arg(port));
    expected.insert(QStringLiteral("InSubText"), QStringLiteral("Desk %1").arg(port).toLatin1());
    delete page;
    copyAndChooseEdid(port, type, &expected);

    QTRY_COMPARE(env->matrixSettings('I', port), expected);
    QVERIFY(expected.contains(QStringLiteral("InAudio")) == (type != PublicClass::eCARD_TYPE_4K_Fiber_I));
}

void tst_AllSettings::outputCards_data()
{
    addPorts(kOutputs);
}

void tst_AllSettings::outputCards()
{
    QFETCH(int, port);
    env->freshModel();
    MOutputCardSetting* page = CardPagesEnv::freshPage<MOutputCardSetting>();
    QVERIFY(CardPagesEnv::selectPort(page, port));
    const int type = env->model->getCardInfo(port).value(CardKey::OutCard).toObject().value(CardKey::CardType).toInt();

    Expected expected;
    if (type == PublicClass::eCARD_TYPE_Preview_O) {
        chooseLastEntries(page, type, {{"mainStreamBox", "MainRESOLUTION"}, {"subStreamBox", "SubRESOLUTION"}}, &expected);
    } else {
        chooseLastEntries(page, type, {{"comboBox", "RESOLUTION"}, {"comboBox_2", "AUDIO"}, {"comboBox_3", "FORMAT"}},
                          &expected);
        const bool steps = page->findChild<QPushButton*>(QStringLiteral("pushButton"))->isEnabled();
        // Up, down, up twice for the three levels in turn: each ends one off its start of 50.
        for (const char* name : {"pushButton", "pushButton_2", "pushButton", "pushButton_4", "pushButton_3",
                                 "pushButton_4", "pushButton_5", "pushButton_6", "pushButton_5"}) {
            if (steps)
                page->findChild<QPushButton*>(QLatin1String(name))->click();
        }
        if (steps) {
            expected.insert(QStringLiteral("OutBright"), "51");
            expected.insert(QStringLiteral("OutContrast"), "49");
            expected.insert(QStringLiteral("OutSat"), "51");
        }
    }
    delete page;
    QTRY_COMPARE(env->matrixSettings('O', port), expected);
}

QTEST_MAIN(tst_AllSettings)
#include "allsettings.moc"
