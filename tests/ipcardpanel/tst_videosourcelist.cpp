// The walk over a card's video-source list and the builder that turns a tree back into one.

#include "VideoSourceRebuild.h"
#include "ipcard/panel/VideoSourceListWalk.h"

#include <QtTest>

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

} // namespace

class TestVideoSourceList : public QObject
{
    Q_OBJECT
private slots:
    void walkOrder();
    void unnamedGroupSplitsOnRebuild();
    void namesEndAtNul();
    void unreadableBytesGiveEmptySource();
};

void TestVideoSourceList::walkOrder()
{
    VideoSourceGroupManage list;
    VideoSourceGroup* hall = list.add_videosourcegroups();
    hall->set_groupname("大厅");
    *hall->add_videosources() = source("door", 1);
    *hall->add_videosources() = source("lobby", 2);
    *list.add_videosourcegroups()->add_videosources() = source("yard", 3);
    list.add_videosourcegroups()->set_groupname("empty");
    QCOMPARE(walkOf(list), QStringList({"g:大厅", "s:door:in", "s:lobby:in", "s:yard:top", "g:empty"}));
    // Named groups survive a rebuild unchanged, empty ones included.
    QCOMPARE(rebuiltVideoSourceList(list).SerializeAsString(), list.SerializeAsString());
}

void TestVideoSourceList::unnamedGroupSplitsOnRebuild()
{
    // One unnamed group of three sources shows them at top level; read back, each is a group.
    VideoSourceGroupManage list;
    VideoSourceGroup* loose = list.add_videosourcegroups();
    for (int i = 1; i <= 3; ++i)
        *loose->add_videosources() = source("cam", i);
    const VideoSourceGroupManage back = rebuiltVideoSourceList(list);
    QCOMPARE(back.videosourcegroups_size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(back.videosourcegroups(i).groupname().empty());
        QCOMPARE(back.videosourcegroups(i).videosources_size(), 1);
        QCOMPARE(back.videosourcegroups(i).videosources(0).channel(), i + 1);
    }
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

QTEST_GUILESS_MAIN(TestVideoSourceList)
#include "tst_videosourcelist.moc"
