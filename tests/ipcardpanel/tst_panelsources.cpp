// The video-source tab against a simulated card: reload and save, placement and channel presets
// of added sources, edits, deletions, group names, the backup file, and replies or lists the
// panel must refuse.

#include "PanelFixture.h"

#include "ModalDriver.h"
#include "framework/FInputDialog.h"
#include "ipcard/panel/VideoSourceBackupFile.h"
#include "ipcard/panel/VideoSourceConfigDialog.h"
#include "ipcard/panel/VideoSourceListWalk.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTreeWidget>

using namespace com::kiv::protobuf;

class TestPanelSources : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void unnamedGroupSavesAsOneGroupPerSource();
    void addedSourcesArePlacedAndNumbered();
    void editKeepsColumnSixAndChannels();
    void groupNames_data();
    void groupNames();
    void saveCarriesUnshownFieldsAndReloads();
    void backupExportImportExport();
    void importFile_data();
    void importFile();
    void saveRefusesABodyTooLong();
    void unreadableListLeavesTheTree_data();
    void unreadableListLeavesTheTree();
    void unreadableListIsReplacedAfterAQuestion();

private:
    QTreeWidget* tree() const { return f->child<QTreeWidget>("VideoSourceTree"); }
    // Adds a source through the editor; returns the channel the editor proposed.
    int addSource(const QString& name);
    // Picks path in the next file dialog; with vanish, the file is removed once it is picked.
    void chooseFile(const QString& path, bool vanish = false);
    QByteArray treeBytes() const
    {
        return QByteArray::fromStdString(f->panel->buildVideoSourceGroupManage().SerializeAsString());
    }
    std::unique_ptr<PanelFixture> f;
    int n = 0;
};

void TestPanelSources::init()
{
    f = std::make_unique<PanelFixture>(3, ++n);
    QVERIFY2(f->isReady(), qPrintable(f->card.errorText()));
    QVERIFY(f->panel->onClickConnect());
    f->mark();
}

void TestPanelSources::cleanup()
{
    f.reset();
}

int TestPanelSources::addSource(const QString& name)
{
    int proposed = -1;
    ModalDriver::whenModal<VideoSourceConfigDialog>([&](VideoSourceConfigDialog* dialog) {
        proposed = dialog->findChild<QSpinBox*>(QStringLiteral("spinBoxChannel"))->value();
        dialog->findChild<QLineEdit*>(QStringLiteral("lineEditName"))->setText(name);
        dialog->findChild<QLineEdit*>(QStringLiteral("lineEditAddress"))->setText(QStringLiteral("127.0.62.1"));
        dialog->findChild<QPushButton*>(QStringLiteral("pushButtonOk"))->click();
    });
    f->click("pushButtonAddSource");
    return proposed;
}

void TestPanelSources::chooseFile(const QString& path, bool vanish)
{
    ModalDriver::whenModal<QFileDialog>([path, vanish](QFileDialog* dialog) {
        if (vanish)
            QObject::connect(dialog, &QFileDialog::fileSelected, [](const QString& file) { QFile::remove(file); });
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();   // as the dialog's own button does
    });
}

void TestPanelSources::unnamedGroupSavesAsOneGroupPerSource()
{
    VideoSourceGroupManage list;
    VideoSourceGroup* loose = list.add_videosourcegroups();
    for (int channel = 1; channel <= 3; ++channel)
        loose->add_videosources()->set_channel(channel);
    f->panel->fillVideoSourceTree(list);
    QCOMPARE(tree()->topLevelItemCount(), 3);
    const VideoSourceGroupManage built = f->panel->buildVideoSourceGroupManage();
    QCOMPARE(built.videosourcegroups_size(), 3);
    QCOMPARE(built.videosourcegroups(2).videosources(0).channel(), 3);
}

void TestPanelSources::addedSourcesArePlacedAndNumbered()
{
    // The card's channels are 1, 2 and 3: the next is 4. "door" (in "hall") is current.
    tree()->setCurrentItem(tree()->topLevelItem(0)->child(0));
    QCOMPARE(addSource(QStringLiteral("a")), 4);
    QCOMPARE(tree()->topLevelItem(0)->child(2)->text(0), QStringLiteral("a"));
    // Beside a source of an unnamed group: top level.
    tree()->setCurrentItem(tree()->topLevelItem(1));
    QCOMPARE(addSource(QStringLiteral("b")), 5);
    QCOMPARE(tree()->topLevelItem(2)->text(0), QStringLiteral("b"));
    // Deleting the group keeps its channels in use; the next is still past them.
    tree()->setCurrentItem(tree()->topLevelItem(0));
    f->click("pushButtonDelete");
    QCOMPARE(tree()->topLevelItemCount(), 2);
    tree()->setCurrentItem(nullptr);
    QCOMPARE(addSource(QStringLiteral("c")), 6);
    QCOMPARE(tree()->topLevelItem(2)->text(0), QStringLiteral("c"));
    f->click("pushButtonDelete");   // "c" was made current
    f->click("pushButtonDelete");
    f->click("pushButtonDelete");
    QCOMPARE(tree()->topLevelItemCount(), 0);
    f->click("pushButtonDelete");
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("请选择要删除的项！")});
    QCOMPARE(f->requests(4), 0);   // nothing reaches the card before "保存配置"
}

void TestPanelSources::editKeepsColumnSixAndChannels()
{
    QTreeWidgetItem* door = tree()->topLevelItem(0)->child(0);
    ModalDriver::whenModal<VideoSourceConfigDialog>([](VideoSourceConfigDialog* dialog) {
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("lineEditName"))->text(), QStringLiteral("door"));
        dialog->findChild<QLineEdit*>(QStringLiteral("lineEditName"))->setText(QStringLiteral("前门"));
        dialog->findChild<QPushButton*>(QStringLiteral("pushButtonOk"))->click();
    });
    emit tree()->itemDoubleClicked(door, 3);
    QCOMPARE(door->text(0), QStringLiteral("前门"));
    QCOMPARE(door->text(6), QStringLiteral("已连接"));
    const VideoSource edited = videoSourceFromBytes(door->data(0, VideoSourceItem::BytesRole).toByteArray());
    QCOMPARE(videoSourceText(edited.name()), QStringLiteral("前门"));
    QCOMPARE(edited.saveissuccess(), 1);
    QCOMPARE(addSource(QStringLiteral("d")), 4);
}

void TestPanelSources::groupNames_data()
{
    QTest::addColumn<bool>("rename");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("result");
    QTest::newRow("add, preset") << false << QString() << QString() << "group";
    QTest::newRow("add, seven Chinese") << false << "一二三四五六七" << QString() << "一二三四五六七";
    QTest::newRow("add, 22 bytes") << false << QString(22, 'g') << "名称超出最大长度！" << QString();
    // Blanks leave the input's OK disabled: refused before the panel sees a name.
    QTest::newRow("add, blanks") << false << "   " << QString() << QString();
    QTest::newRow("rename") << true << " lobby " << QString() << "lobby";
    QTest::newRow("rename, 22 bytes") << true << QString(22, 'g') << "名称超出最大长度" << "hall";
    QTest::newRow("rename, blanks") << true << " " << QString() << "hall";
}

void TestPanelSources::groupNames()
{
    QFETCH(bool, rename);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    ModalDriver::whenModal<FInputDialog>([typed](FInputDialog* input) {
        if (!typed.isNull())
            input->getLineEdit()->setText(typed);
        (input->getOkButton()->isEnabled() ? input->getOkButton() : input->getCancelButton())->click();
    });
    const int before = tree()->topLevelItemCount();
    if (rename)
        emit tree()->itemDoubleClicked(tree()->topLevelItem(0), 0);
    else
        f->click("pushButtonAddGroup");
    QTEST(f->boxes.take().value(0), "message");
    if (rename) {
        QCOMPARE(tree()->topLevelItem(0)->text(0), result);
    } else if (result.isEmpty()) {
        QCOMPARE(tree()->topLevelItemCount(), before);
    } else {
        QCOMPARE(tree()->topLevelItemCount(), before + 1);
        QCOMPARE(tree()->currentItem()->text(0), result);
    }
}

void TestPanelSources::saveCarriesUnshownFieldsAndReloads()
{
    // The card keeps what it receives: what comes back proves what was sent.
    QVERIFY(f->card.control(QStringLiteral("keepsaved %1 on").arg(f->card.host())).startsWith("OK"));
    VideoSourceGroupManage list = f->panel->buildVideoSourceGroupManage();
    VideoSource* door = list.mutable_videosourcegroups(0)->mutable_videosources(0);
    door->set_saveissuccess(0);
    door->set_consolecontrol(3);
    door->set_index(9);
    f->panel->fillVideoSourceTree(list);
    // Opened in the editor and confirmed untouched.
    ModalDriver::whenModal<VideoSourceConfigDialog>([](VideoSourceConfigDialog* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("pushButtonOk"))->click();
    });
    emit tree()->itemDoubleClicked(tree()->topLevelItem(0)->child(0), 0);
    f->click("pushButtonSourcesSave");
    QVERIFY(f->boxes.texts.isEmpty());
    QCOMPARE(f->requests(4, 3), 1);
    QCOMPARE(f->requests(3, 3), 1);   // reloaded after the save
    QCOMPARE(treeBytes(), QByteArray::fromStdString(list.SerializeAsString()));
    QCOMPARE(tree()->topLevelItem(0)->child(0)->text(6), QStringLiteral("未连接"));
}

void TestPanelSources::backupExportImportExport()
{
    // Chosen without a suffix, the file gets the one import looks for.
    chooseFile(f->dir.filePath(QStringLiteral("first")));
    f->click("pushButtonExport");
    const QByteArray bytes = f->dir.read(QStringLiteral("first.dat"));
    QCOMPARE(bytes, treeBytes());
    // Camera logins inside: for the owner's eyes only.
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(int(QFile::permissions(f->dir.filePath(QStringLiteral("first.dat"))) & others), 0);
    f->panel->fillVideoSourceTree(VideoSourceGroupManage());
    chooseFile(f->dir.filePath(QStringLiteral("first.dat")));
    f->click("pushButtonImport");
    QCOMPARE(tree()->topLevelItemCount(), 2);
    QCOMPARE(tree()->topLevelItem(1)->text(6), QStringLiteral("已连接"));
    chooseFile(f->dir.filePath(QStringLiteral("second.dat")));
    f->click("pushButtonExport");
    QCOMPARE(f->dir.read(QStringLiteral("second.dat")), bytes);
    chooseFile(f->dir.filePath(QStringLiteral("missing/x.dat")));
    f->click("pushButtonExport");
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("写入文件失败！")});   // the only message
    QCOMPARE(f->requests(4), 0);   // an import changes the card only when saved
}

void TestPanelSources::importFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("vanish");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("emptied");
    QByteArray noise(2000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 131 + 17) ^ (i >> 3));
    QTest::newRow("not a list") << noise << false << "文件不是视频源备份文件！" << false;
    QTest::newRow("gone when opened") << QByteArray("\x0a\x00", 2) << true << "打开文件错误！" << false;
    // What an empty tree exports.
    QTest::newRow("empty") << QByteArray() << false << QString() << true;
}

void TestPanelSources::importFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, vanish);
    QFETCH(bool, emptied);
    const QByteArray before = treeBytes();
    QVERIFY(f->dir.write(QStringLiteral("in.dat"), content));
    chooseFile(f->dir.filePath(QStringLiteral("in.dat")), vanish);
    f->click("pushButtonImport");
    QTEST(f->boxes.take().value(0), "message");
    QCOMPARE(treeBytes(), emptied ? QByteArray() : before);
}

void TestPanelSources::saveRefusesABodyTooLong()
{
    VideoSourceGroupManage list;
    VideoSourceGroup* group = list.add_videosourcegroups();
    group->set_groupname("many");
    for (int i = 0; i < 400; ++i) {
        VideoSource* source = group->add_videosources();
        source->set_name("camera");
        source->set_mainstreamuri(std::string(100, 'm'));
        source->set_substreamuri(std::string(100, 's'));
    }
    f->panel->fillVideoSourceTree(list);
    f->click("pushButtonSourcesSave");
    const QStringList texts = f->boxes.take();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts.first().contains(QStringLiteral("65535")), qPrintable(texts.first()));
    QCOMPARE(f->requests(4), 0);
    QCOMPARE(tree()->topLevelItem(0)->childCount(), 400);
}

void TestPanelSources::unreadableListLeavesTheTree_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("name not UTF-8") << "badname %1";
    QTest::newRow("length shorter than the body") << "fault %1 bodylen 12 on 3/3";
}

void TestPanelSources::unreadableListLeavesTheTree()
{
    QFETCH(QString, command);
    QVERIFY(f->card.control(command.arg(f->card.host())).startsWith("OK"));
    const QByteArray before = treeBytes();
    f->click("pushButtonSourcesUpdate");
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("设备返回的数据无法识别！")});
    QCOMPARE(treeBytes(), before);
}

void TestPanelSources::unreadableListIsReplacedAfterAQuestion()
{
    const QByteArray list = treeBytes();
    QVERIFY(f->dir.write(QStringLiteral("list.dat"), list));
    QVERIFY(f->card.control(QStringLiteral("keepsaved %1 on").arg(f->card.host())).startsWith("OK"));
    QVERIFY(f->card.control(QStringLiteral("badname %1").arg(f->card.host())).startsWith("OK"));
    QVERIFY(f->panel->onClickConnect());
    // Once, though the tab and the decoder page both read the list.
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("设备返回的数据无法识别！")});
    QCOMPARE(tree()->topLevelItemCount(), 0);
    // A list imported (or built) replaces the card's, once the operator has been told.
    chooseFile(f->dir.filePath(QStringLiteral("list.dat")));
    f->click("pushButtonImport");
    f->mark();
    f->click("pushButtonSourcesSave");
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("设备中的视频源列表无法读取，保存将用当前列表替换它。是否继续？")});
    QCOMPARE(f->requests(4, 3), 1);
    QCOMPARE(treeBytes(), list);   // read back from the card
    // The list is the card's again: the next save asks nothing.
    f->click("pushButtonSourcesSave");
    QVERIFY(f->boxes.texts.isEmpty());
    QCOMPARE(f->requests(4, 3), 2);
}

PANEL_TEST_MAIN(TestPanelSources)
#include "tst_panelsources.moc"
