// A card's video-source list in the tab's tree: the walk in tree order, the list read back from
// the tree, backup files that import as the tree exported them, and the channel of a new source.

#include "ipcard/panel/VideoSourceBackupFile.h"
#include "ipcard/panel/VideoSourceListWalk.h"
#include "ipcard/panel/VideoSourceTree.h"

#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <climits>

using namespace com::kiv::protobuf;

namespace {

VideoSource source(const char* name, int channel)
{
    VideoSource s;
    s.set_name(name);
    s.set_channel(channel);
    s.set_addr("127.0.60.1");
    return s;
}

// The walk written out as "g:name" and "s:name:in|top" entries.
QStringList walkOf(const VideoSourceGroupManage& list)
{
    QStringList seen;
    VideoSourceListWalk walk;
    walk.onGroup = [&seen](const QString& name) { seen << QStringLiteral("g:") + name; };
    walk.onSource = [&seen](const VideoSource& s, const QByteArray& bytes, bool inGroup) {
        QCOMPARE(videoSourceFromBytes(bytes).SerializeAsString(), s.SerializeAsString());
        seen << QStringLiteral("s:%1:%2").arg(videoSourceText(s.name()), inGroup ? "in" : "top");
    };
    walk.run(list);
    return seen;
}

// Unnamed groups of one source each: the form a list has once it went through the tree.
VideoSourceGroupManage looseSources(const QList<int>& channels)
{
    VideoSourceGroupManage list;
    for (int channel : channels)
        *list.add_videosourcegroups()->add_videosources() = source("cam", channel);
    return list;
}

} // namespace

Q_DECLARE_METATYPE(VideoSourceGroupManage)

class TestVideoSourceList : public QObject
{
    Q_OBJECT
private slots:
    void walkOrderAndTreeRoundTrip();
    void namesEndAtNul();
    void unreadableBytesGiveEmptySource();
    void treeAndBackupRoundTrip_data();
    void treeAndBackupRoundTrip();
    void nextChannel_data();
    void nextChannel();

private:
    QTreeWidget widget;
    VideoSourceTree tree{&widget};
};

void TestVideoSourceList::walkOrderAndTreeRoundTrip()
{
    VideoSourceGroupManage list;
    VideoSourceGroup* hall = list.add_videosourcegroups();
    hall->set_groupname("大厅");
    *hall->add_videosources() = source("door", 1);
    *hall->add_videosources() = source("lobby", 2);
    *list.add_videosourcegroups()->add_videosources() = source("yard", 3);
    list.add_videosourcegroups()->set_groupname("empty");
    QCOMPARE(walkOf(list), QStringList({"g:大厅", "s:door:in", "s:lobby:in", "s:yard:top", "g:empty"}));
    tree.fill(list);
    QCOMPARE(widget.topLevelItemCount(), 3);
    QCOMPARE(widget.topLevelItem(0)->child(1)->text(VideoSourceTree::Name), QStringLiteral("lobby"));
    QCOMPARE(widget.currentItem()->text(VideoSourceTree::Name), QStringLiteral("empty"));
    // Named groups, empty ones included, and a lone unnamed source come back unchanged.
    QCOMPARE(tree.build().SerializeAsString(), list.SerializeAsString());
}

void TestVideoSourceList::namesEndAtNul()
{
    QCOMPARE(videoSourceText(std::string("cam\0tail", 8)), QStringLiteral("cam"));
    // A group whose name is only a NUL reads as unnamed: its source stands at top level.
    VideoSourceGroupManage list;
    VideoSourceGroup* group = list.add_videosourcegroups();
    group->set_groupname(std::string(1, '\0'));
    *group->add_videosources() = source("only", 1);
    QCOMPARE(walkOf(list), QStringList({"s:only:top"}));
}

void TestVideoSourceList::unreadableBytesGiveEmptySource()
{
    bool ok = true;
    const VideoSource s = videoSourceFromBytes(QByteArray("\xff\xff\xff", 3), &ok);
    QVERIFY(!ok);
    QCOMPARE(s.ByteSizeLong(), size_t(0));
    VideoSourceListBuilder builder;
    builder.addSource(videoSourceBytes(source("first", 4)));   // no group started yet
    QCOMPARE(builder.list().videosourcegroups_size(), 1);
    QCOMPARE(builder.list().videosourcegroups(0).videosources(0).channel(), 4);
}

void TestVideoSourceList::treeAndBackupRoundTrip_data()
{
    QTest::addColumn<VideoSourceGroupManage>("list");
    QTest::addColumn<VideoSourceGroupManage>("built");   // read back from the tree
    QTest::newRow("empty") << VideoSourceGroupManage() << VideoSourceGroupManage();
    // One unnamed group of three shows them at top level; read back, each is a group.
    VideoSourceGroupManage unnamed;
    VideoSourceGroup* loose = unnamed.add_videosourcegroups();
    for (int channel = 1; channel <= 3; ++channel)
        *loose->add_videosources() = source("cam", channel);
    QTest::newRow("unnamed group of three") << unnamed << looseSources({1, 2, 3});
    // Field 99 of a newer card's firmware, a varint 5.
    VideoSourceGroupManage newer = looseSources({1});
    const std::string withField99 = newer.videosourcegroups(0).videosources(0).SerializeAsString() + "\x98\x06\x05";
    QVERIFY(newer.mutable_videosourcegroups(0)->mutable_videosources(0)->ParseFromString(withField99));
    QTest::newRow("unknown field in a source") << newer << newer;
    VideoSourceGroupManage many;
    VideoSourceGroup* group = many.add_videosourcegroups();
    group->set_groupname("many");
    for (int i = 0; i < 2000; ++i)
        *group->add_videosources() = source("cam", i % 100);
    QTest::newRow("2000 sources") << many << many;
}

// Read back from the tree, and exported from it and imported into it.
void TestVideoSourceList::treeAndBackupRoundTrip()
{
    QFETCH(VideoSourceGroupManage, list);
    QFETCH(VideoSourceGroupManage, built);
    tree.fill(list);
    QCOMPARE(widget.topLevelItemCount(), built.videosourcegroups_size());
    QCOMPARE(tree.build().SerializeAsString(), built.SerializeAsString());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sources.dat"));
    QVERIFY(VideoSourceBackupFile::write(path, tree.build()));
    VideoSourceGroupManage imported;
    imported.add_videosourcegroups()->set_groupname("before");
    QCOMPARE(VideoSourceBackupFile::read(path, &imported), VideoSourceBackupFile::ReadResult::Ok);
    tree.fill(imported);
    QCOMPARE(tree.build().SerializeAsString(), built.SerializeAsString());
}

void TestVideoSourceList::nextChannel_data()
{
    QTest::addColumn<QList<int>>("inUse");
    QTest::addColumn<int>("next");
    QTest::newRow("none") << QList<int>() << 1;
    QTest::newRow("3 and 7") << QList<int>{7, 3} << 8;
    QTest::newRow("98") << QList<int>{98} << 99;
    QTest::newRow("-1") << QList<int>{-1} << 0;
    QTest::newRow("99: lowest free") << QList<int>{1, 2, 99} << 3;
    QTest::newRow("INT_MAX") << QList<int>{1, INT_MAX} << 2;
    QTest::newRow("all negative") << QList<int>{INT_MIN, -5} << 1;
    QList<int> all;
    for (int channel = 1; channel <= 99; ++channel)
        all << channel;
    QTest::newRow("1 to 99 in use") << all << 99;
}

void TestVideoSourceList::nextChannel()
{
    QFETCH(QList<int>, inUse);
    tree.fill(looseSources(inUse));
    QTEST(tree.nextChannel(99), "next");
}

QTEST_MAIN(TestVideoSourceList)
#include "tst_videosourcelist.moc"
