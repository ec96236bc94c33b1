// The input card settings page against a simulated 32-port matrix whose input slots hold HDMI,
// 4K HDBT, SDI, HDMI&SDI, 4K fibre, IP and fibre cards and one empty slot.
#include "CardPagesEnv.h"
#include "FakePing.h"
#include "IpCardFarmThread.h"
#include "ipcard/link/OpenIpCardLinks.h"
#include "ipcard/panel/HisliconConfigDialog.h"
#include "pages/cardsettings/InputDataSettingWidget.h"
#include "pages/cardsettings/MInputCardSetting.h"
#include "platform/EventLoopDelay.h"
#include "platform/LocalCodePage.h"

#include <QLabel>
#include <QStackedWidget>

namespace {
const QString kInputs = QStringLiteral("a3ci1fm*");
}

class tst_InputCardSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void listAndName();
    void controlsByType_data();
    void controlsByType();
    void choiceReachesMatrix_data();
    void choiceReachesMatrix();
    void sliderRelease_data();
    void sliderRelease();
    void loadingSendsNothing();
    void refusedChoiceIsPutBack();
    void choiceAnsweredWhileLeavingIsKept();
    void secondChoiceDuringWait_data();
    void secondChoiceDuringWait();
    void subtitleText_data();
    void subtitleText();
    void templateFaults();
    void ipCardPanel();

private:
    template <typename T>
    T* control(const char* name) const
    {
        T* widget = page->findChild<T*>(QLatin1String(name));
        if (!widget)
            qWarning("no control %s", name);
        return widget;
    }
    void writeHdmiTemplate(const QString& group, const QStringList& keys);

    std::unique_ptr<CardPagesEnv> env;
    MInputCardSetting* page = nullptr;
};

void tst_InputCardSettings::initTestCase()
{
    env = std::make_unique<CardPagesEnv>();
    QString error;
    QVERIFY2(env->start(32, kInputs, QStringLiteral("aaaaaaaa"), &error), qPrintable(error));
}

void tst_InputCardSettings::init()
{
    env->freshModel();
    page = CardPagesEnv::freshPage<MInputCardSetting>();
    env->clearReceived();
}

void tst_InputCardSettings::cleanupTestCase()
{
    WidgetShots::save(page, QStringLiteral("input_card_settings"));
    delete page;
    env.reset();
}

void tst_InputCardSettings::listAndName()
{
    // 4K HDBT inputs (ports 4..7) only at odd indexes.
    const QList<int> listed = CardPagesEnv::listedPorts(page);
    QVERIFY(listed.contains(5) && listed.contains(7));
    QVERIFY(!listed.contains(4) && !listed.contains(6));
    QCOMPARE(listed.size(), 30);

    QVERIFY(CardPagesEnv::selectPort(page, 2));
    auto* name = control<QLineEdit>("lineEdit");
    QCOMPARE(name->text(), QStringLiteral("HDMI-3"));
    CardPagesEnv::typeAndFinish(name, QStringLiteral("HDMI-3"));
    QCOMPARE(env->model->getCardInfo(2).value(CardKey::InCard).toObject().value(CardKey::Name).toString(),
             QStringLiteral("HDMI-3"));
    CardPagesEnv::typeAndFinish(name, QStringLiteral("Camera"));
    auto* tree = page->findChild<MInputTreeList*>();
    QCOMPARE(tree->findItems(QStringLiteral("Camera"), Qt::MatchExactly).size(), 1);
    QVERIFY(env->receivedSettled().isEmpty());   // the name is the console's own
}

void tst_InputCardSettings::controlsByType_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("audio");
    QTest::addColumn<bool>("levels");

    QTest::newRow("HDMI") << 0 << "HDMI-1" << true << true;
    QTest::newRow("SDI") << 8 << "SDI-9" << true << false;
    QTest::newRow("HDMI half of HDMI&SDI") << 13 << "HDMI&SDI-14" << true << true;
    QTest::newRow("SDI half of HDMI&SDI") << 14 << "HDMI&SDI-15" << true << false;
    QTest::newRow("4K fibre") << 16 << "4K Fiber-17" << false << true;
}

void tst_InputCardSettings::controlsByType()
{
    QFETCH(int, port);
    QFETCH(QString, name);
    QFETCH(bool, audio);
    QFETCH(bool, levels);

    QVERIFY(CardPagesEnv::selectPort(page, port));
    QCOMPARE(control<QLineEdit>("lineEdit")->text(), name);
    QCOMPARE(control<QComboBox>("comboBox")->isEnabled(), audio);
    for (const char* slider : {"horizontalSlider", "horizontalSlider_2", "horizontalSlider_3", "horizontalSlider_4"})
        QCOMPARE(control<QSlider>(slider)->isEnabled(), levels);
    // Nothing stored: position second entry, sharpness 20, the other levels 50, lists from the file.
    QCOMPARE(control<QComboBox>("comboBox_3")->currentIndex(), 1);
    QCOMPARE(control<QSlider>("horizontalSlider_4")->value(), 20);
    QCOMPARE(control<QSlider>("horizontalSlider_2")->value(), 50);
    QCOMPARE(control<QComboBox>("comboBox_4")->itemText(0), QStringLiteral("白色"));
    QVERIFY(control<QComboBox>("comboBox")->count() >= 2);
    QVERIFY(control<QComboBox>("comboBox")->isVisibleTo(page));
}

void tst_InputCardSettings::choiceReachesMatrix_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("recordKey");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QByteArray>("held");

    // The fourth colour, "04.蓝色", is stored as 3.
    QTest::newRow("colour") << "comboBox_4" << 3 << "subtitle-color" << "/InSubColor:2:BLUE;" << "InSubColor"
                            << QByteArray("BLUE");
    QTest::newRow("audio") << "comboBox" << 2 << "audio" << "/InAudio:2:MUTE;" << "InAudio" << QByteArray("MUTE");
    QTest::newRow("format") << "comboBox_5" << 3 << "format" << "/InFormat:2:YUV422;" << "InFormat"
                            << QByteArray("YUV422");
    QTest::newRow("subtitle") << "comboBox_2" << 1 << "subtitle-switch" << "/InSubtitle:2:ON;" << "InSubtitle"
                              << QByteArray("ON");
    QTest::newRow("position, first entry") << "comboBox_3" << 0 << "subtitle-position" << "/InSubPos:2:TL;"
                                           << "InSubPos" << QByteArray("TL");
}

void tst_InputCardSettings::choiceReachesMatrix()
{
    QFETCH(QString, box);
    QFETCH(int, index);
    QFETCH(QString, recordKey);
    QFETCH(QString, command);
    QFETCH(QString, word);
    QFETCH(QByteArray, held);

    QVERIFY(CardPagesEnv::selectPort(page, 1));
    control<QComboBox>(qPrintable(box))->setCurrentIndex(index);
    QCOMPARE(env->received(), QStringList{command});
    QCOMPARE(env->model->getCardInfo(1).value(CardKey::InCard).toObject().value(recordKey).toInt(-1), index);
    QCOMPARE(env->matrixSettings('I', 1).value(word), held);
}

void tst_InputCardSettings::sliderRelease_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("command");   // empty: nothing sent
    QTest::addColumn<QString>("word");

    QTest::newRow("brightness 7") << "horizontalSlider_2" << 7 << "/InBright:1:07;" << "InBright";
    QTest::newRow("chroma 0, nothing stored") << "horizontalSlider" << 0 << "/InChroma:1:00;" << "InChroma";
    QTest::newRow("contrast 99") << "horizontalSlider_3" << 99 << "/InContrast:1:99;" << "InContrast";
    QTest::newRow("sharpness at what it showed") << "horizontalSlider_4" << 20 << "" << "InSharp";
}

void tst_InputCardSettings::sliderRelease()
{
    QFETCH(QString, slider);
    QFETCH(int, value);
    QFETCH(QString, command);
    QFETCH(QString, word);

    QVERIFY(CardPagesEnv::selectPort(page, 0));
    CardPagesEnv::release(control<QSlider>(qPrintable(slider)), value);
    if (command.isEmpty()) {
        QVERIFY(env->receivedSettled().isEmpty());
        return;
    }
    QVERIFY2(env->waitForCommand(command), qPrintable(env->received().join(' ')));
    QCOMPARE(env->matrixSettings('I', 0).value(word), QByteArray::number(value));
    // Released again where it stands: nothing more.
    CardPagesEnv::release(control<QSlider>(qPrintable(slider)), value);
    QCOMPARE(env->receivedSettled(), QStringList{command});
    // Loading the port again shows the stored value.
    QVERIFY(CardPagesEnv::selectPort(page, 1));
    QVERIFY(CardPagesEnv::selectPort(page, 0));
    QCOMPARE(control<QSlider>(qPrintable(slider))->value(), value);
}

void tst_InputCardSettings::loadingSendsNothing()
{
    // Stored choices, an index past its list and records the page cannot use.
    CardInfo stored = env->model->getCardInfo(0);
    QJsonObject in = stored.value(CardKey::InCard).toObject();
    in.insert(QStringLiteral("audio"), 1);
    in.insert(QStringLiteral("format"), 40);
    in.insert(QStringLiteral("brightness"), 9);
    stored.insert(CardKey::InCard, in);
    env->model->setCardInfo(0, stored);
    env->model->setCardInfo(29, CardInfo{{CardKey::Id, 29}, {CardKey::InCard, QJsonObject{{CardKey::CardType, 200}}}});

    for (int port : {8, 0, 13, 16, 24})
        QVERIFY(CardPagesEnv::selectPort(page, port));
    page->findChild<InputDataSettingWidget*>()->onSelectCardIndexChanged(0);
    QCOMPARE(control<QComboBox>("comboBox")->currentIndex(), 1);
    QCOMPARE(control<QSlider>("horizontalSlider_2")->value(), 9);
    // A port of an unknown card type leaves the panel as it was.
    page->findChild<InputDataSettingWidget*>()->onSelectCardIndexChanged(29);
    QCOMPARE(control<QLineEdit>("lineEdit")->text(), QStringLiteral("HDMI-1"));
    QVERIFY(env->receivedSettled().isEmpty());
    QCOMPARE(env->model->getCardInfo(29).value(CardKey::InCard).toObject().size(), 1);
}

void tst_InputCardSettings::refusedChoiceIsPutBack()
{
    QVERIFY(CardPagesEnv::selectPort(page, 3));
    auto* audio = control<QComboBox>("comboBox");
    QVERIFY(env->sim.accepts(QStringLiteral("refuse")));
    audio->setCurrentIndex(2);
    QCOMPARE(audio->currentIndex(), 0);
    QVERIFY(!env->model->getCardInfo(3).value(CardKey::InCard).toObject().contains(QStringLiteral("audio")));
    QVERIFY(!env->matrixSettings('I', 3).contains(QStringLiteral("InAudio")));
    // Choosing it again sends it again.
    audio->setCurrentIndex(2);
    QCOMPARE(env->received(), (QStringList{"/InAudio:4:MUTE;", "/InAudio:4:MUTE;"}));
    QCOMPARE(env->model->getCardInfo(3).value(CardKey::InCard).toObject().value(QStringLiteral("audio")).toInt(), 2);
    QCOMPARE(env->matrixSettings('I', 3).value(QStringLiteral("InAudio")), QByteArray("MUTE"));
}

// The console starts leaving (a confirmed exit ends every wait) while the matrix's answer settles:
// the answer has begun, so it is read to its end, and the choice is taken and stored as the matrix
// holds it.
void tst_InputCardSettings::choiceAnsweredWhileLeavingIsKept()
{
    QVERIFY(CardPagesEnv::selectPort(page, 0));
    auto* audio = control<QComboBox>("comboBox");
    QVERIFY(env->sim.accepts(QStringLiteral("delay 1000 count=1")));
    // The command blocks for its first line: the first events after it arrived are its settle's.
    QTimer watch;
    bool endedDuringTheCommand = false;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (env->sim.control(QStringLiteral("received all")).contains("/InAudio:1:EXT;")) {
            watch.stop();
            PumpingWaits::endAll();
            endedDuringTheCommand = true;
        }
    });
    watch.start(20);
    audio->setCurrentIndex(1);
    watch.stop();
    const bool ended = PumpingWaits::ended();
    PumpingWaits::resume();
    QVERIFY(endedDuringTheCommand && ended);
    QCOMPARE(audio->currentIndex(), 1);
    QCOMPARE(env->model->getCardInfo(0).value(CardKey::InCard).toObject().value(QStringLiteral("audio")).toInt(-1), 1);
    QCOMPARE(env->matrixSettings('I', 0).value(QStringLiteral("InAudio")), QByteArray("EXT"));
}

void tst_InputCardSettings::secondChoiceDuringWait_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("first taken") << false;
    QTest::newRow("first refused") << true;
}

void tst_InputCardSettings::secondChoiceDuringWait()
{
    QFETCH(bool, refused);
    const int port = refused ? 2 : 1;
    QVERIFY(CardPagesEnv::selectPort(page, port));
    auto* colour = control<QComboBox>("comboBox_4");
    const QByteArray before = env->matrixSettings('I', port).value(QStringLiteral("InSubColor"));
    QVERIFY(!refused || env->sim.accepts(QStringLiteral("refuse")));
    // Red, then green while red waits: the box ends on what the port and the matrix hold.
    QVERIFY(env->chooseTwiceDuringWait(colour, 1, 2));
    QCOMPARE(colour->currentIndex(), refused ? 0 : 1);
    QCOMPARE(env->model->getCardInfo(port).value(CardKey::InCard).toObject().value(QStringLiteral("subtitle-color")).toInt(-1),
             refused ? -1 : 1);
    QCOMPARE(env->matrixSettings('I', port).value(QStringLiteral("InSubColor")), refused ? before : QByteArray("RED"));
    QCOMPARE(env->received(), QStringList{QStringLiteral("/InSubColor:%1:RED;").arg(port + 1)});
}

void tst_InputCardSettings::subtitleText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    QTest::newRow("plain") << "Lobby 1" << "Lobby 1";
    QTest::newRow("semicolon refused") << "A;B" << "AB";
    QTest::newRow("placeholder stays text") << "50%1 off" << "50%1 off";
    QTest::newRow("64 bytes of ASCII") << QString(70, QLatin1Char('x')) << QString(64, QLatin1Char('x'));
    // The matrix's code page, GB2312, takes two bytes a character: 32 fit.
    QTest::newRow("Chinese") << QString(40, QChar(0x5b57)) << QString(32, QChar(0x5b57));
    // What GB2312 itself does not hold is refused, though the converter would write GBK for it.
    QTest::newRow("GBK-only hanzi") << "大厅場2" << "大厅2";
    QTest::newRow("GBK row-2 addition") << "ⅰ号①" << "号①";
    QTest::newRow("euro, emoji, ñ; é is GB2312's") << "Señal €5 😀é" << "Seal 5 é";
}

void tst_InputCardSettings::subtitleText()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);

    QVERIFY(CardPagesEnv::selectPort(page, 1));
    auto* edit = control<QLineEdit>("lineEdit_3");
    CardPagesEnv::typeAndFinish(edit, typed);
    QCOMPARE(edit->text(), kept);
    const QString command = CardPagesEnv::escape("/InSubText:2:" + LocalCodePage::encode(kept) + ';');
    QVERIFY2(env->waitForCommand(command), qPrintable(env->received().join(' ')));
    QCOMPARE(LocalCodePage::decode(env->matrixSettings('I', 1).value(QStringLiteral("InSubText"))), kept);
    QCOMPARE(env->model->getCardInfo(1).value(CardKey::InCard).toObject().value(QStringLiteral("subtitle-content")).toString(),
             kept);
}

void tst_InputCardSettings::writeHdmiTemplate(const QString& group, const QStringList& keys)
{
    QSettings ini(env->filePath(QStringLiteral("data/command0/HDMI I.ini")), QSettings::IniFormat);
    ini.remove(group);
    for (const QString& key : keys)
        ini.setValue(group + QLatin1Char('/') + key, QStringLiteral("/InAudio:%1:EXT;"));
}

void tst_InputCardSettings::templateFaults()
{
    const QString file = env->filePath(QStringLiteral("data/command0/HDMI I.ini"));
    QFile::copy(file, file + QStringLiteral(".bak"));
    // No format entries, and an audio group whose second entry is misnumbered; no brightness.
    writeHdmiTemplate(QStringLiteral("FORMAT"), {});
    writeHdmiTemplate(QStringLiteral("AUDIO"), {QStringLiteral("01.A"), QStringLiteral("03.B")});
    QSettings(file, QSettings::IniFormat).remove(QStringLiteral("CONFIG/Brightness"));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("option group AUDIO .* entry 2")));
    QVERIFY(CardPagesEnv::selectPort(page, 1));
    QVERIFY(!control<QComboBox>("comboBox_5")->isVisibleTo(page));
    QVERIFY(!control<QLabel>("label_2")->isVisibleTo(page));
    QVERIFY(control<QComboBox>("comboBox")->isVisibleTo(page));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no command template AUDIO/02.B")));
    control<QComboBox>("comboBox")->setCurrentIndex(1);
    QCOMPARE(control<QComboBox>("comboBox")->currentIndex(), 0);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no command template CONFIG/Brightness")));
    CardPagesEnv::release(control<QSlider>("horizontalSlider_2"), 30);
    QCOMPARE(control<QSlider>("horizontalSlider_2")->value(), 50);
    QVERIFY(env->receivedSettled().isEmpty());
    const QJsonObject in = env->model->getCardInfo(1).value(CardKey::InCard).toObject();
    QVERIFY(!in.contains(QStringLiteral("audio")) && !in.contains(QStringLiteral("brightness")));

    QFile::remove(file);
    QFile::rename(file + QStringLiteral(".bak"), file);
}

void tst_InputCardSettings::ipCardPanel()
{
    // A simulated IP card (in a thread of the test: the panel's link blocks this one) at the
    // address the record of IP input port 21 holds.
    IpCardFarmThread card(QHostAddress(QStringLiteral("127.15.1.1")), HisliconConfigDialog::CardPort);
    QVERIFY2(card.isStarted(), qPrintable(card.errorText()));
    openIpCardLinks.clear();
    for (int port : {20, 21}) {
        CardInfo record = env->model->getCardInfo(port);
        QJsonObject in = record.value(CardKey::InCard).toObject();
        in.insert(CardKey::Ip, port == 20 ? card.host() : QStringLiteral("127.15.1.2"));
        record.insert(CardKey::InCard, in);
        env->model->setCardInfo(port, record);
    }
    auto* panel = page->findChild<HisliconConfigDialog*>();
    auto* form = page->findChild<InputDataSettingWidget*>();
    const auto panelPage = [panel] { return panel->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->currentIndex(); };
    const auto logins = [&card] {
        int count = 0;
        for (const IpCardFarmThread::Seen& seen : card.requests())
            count += seen.msgClass == 1 && seen.msgCommand == 0 ? 1 : 0;
        return count;
    };

    // No open link, the card answers a ping: the panel connects and logs in.
    QVERIFY(CardPagesEnv::selectPort(page, 20));
    QCOMPARE(form->width(), 770);
    QCOMPARE(control<QStackedWidget>("stackedWidget")->currentIndex(), 1);
    QCOMPARE(panel->currentCardIndex(), 20);
    QCOMPARE(panelPage(), 1);
    QCOMPARE(logins(), 1);
    QCOMPARE(openIpCardLinks.size(), 1);

    // Back to an HDMI port and again: the open link is configured, not logged in again.
    QVERIFY(CardPagesEnv::selectPort(page, 0));
    QCOMPARE(form->width(), 300);
    QCOMPARE(control<QStackedWidget>("stackedWidget")->currentIndex(), 0);
    QVERIFY(CardPagesEnv::selectPort(page, 20));
    QCOMPARE(panelPage(), 1);
    QCOMPARE(logins(), 1);

    // A card that answers no ping: the box, and the panel stays on its connection page.
    FakePing silent(QStringLiteral("exit 1"));
    QVERIFY(silent.isReady());
    QStringList texts;
    CardPagesEnv::dismissNextModal(&texts);
    QVERIFY(CardPagesEnv::selectPort(page, 21));
    QTRY_VERIFY(texts.contains(QStringLiteral("无法访问设备，请确认IP!")));
    QCOMPARE(silent.invocations().size(), 1);
    QVERIFY(silent.invocations().first().endsWith(QStringLiteral("127.15.1.2")));
    QCOMPARE(panelPage(), 0);
    QCOMPARE(panel->currentCardIndex(), 21);
    QVERIFY(env->receivedSettled().isEmpty());   // nothing for the matrix
    openIpCardLinks.clear();
}

QTEST_MAIN(tst_InputCardSettings)
#include "tst_inputcardsettings.moc"
