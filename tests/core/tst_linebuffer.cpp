// The lines taken from what the matrix sends: whole lines only, and a line over the limit dropped
// up to its end however its bytes arrive.
#include "core/LineBuffer.h"

#include <QtTest>

class TestLineBuffer : public QObject
{
    Q_OBJECT
private slots:
    void linesAsTheyArrive_data();
    void linesAsTheyArrive();
};

namespace {
constexpr int kLimit = 16;

QByteArray bytes(int count, char c = 'x')
{
    return QByteArray(count, c);
}
} // namespace

// Each row feeds its pieces in turn (taking the whole lines after each) and expects the lines
// delivered in all, what stays buffered, and how many pieces reported a line dropped.
void TestLineBuffer::linesAsTheyArrive_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QList<QByteArray>>("delivered");
    QTest::addColumn<QByteArray>("left");
    QTest::addColumn<int>("drops");

    QTest::newRow("a line in two pieces") << QList<QByteArray>{"Open", ".\r\nAV:1"} << QList<QByteArray>{"Open.\r\n"}
                                          << QByteArray("AV:1") << 0;
    QTest::newRow("a line a byte at a time")
        << QList<QByteArray>{"A", "V", ":", "2", "\r", "\n"} << QList<QByteArray>{"AV:2\r\n"} << QByteArray() << 0;
    QTest::newRow("one below the limit, with its end")
        << QList<QByteArray>{bytes(kLimit - 1) + "\n"} << QList<QByteArray>{bytes(kLimit - 1) + "\n"} << QByteArray() << 0;
    QTest::newRow("at the limit, with its end, in one piece")
        << QList<QByteArray>{bytes(kLimit) + "\nOK\n"} << QList<QByteArray>{"OK\n"} << QByteArray() << 1;
    QTest::newRow("over the limit in two pieces below it, the second with its end")
        << QList<QByteArray>{bytes(10), bytes(10) + "\nOK\n"} << QList<QByteArray>{"OK\n"} << QByteArray() << 1;
    // As 900 000 and 400 000 bytes against the link's 1 MiB.
    QTest::newRow("over the limit in two pieces, 900 000 : 400 000")
        << QList<QByteArray>{bytes(14), bytes(4) + "\r\n" + "OK\r\n"} << QList<QByteArray>{"OK\r\n"} << QByteArray() << 1;
    QTest::newRow("dropped up to its end, across pieces")
        << QList<QByteArray>{bytes(kLimit), bytes(40), "AV:3->5\r\n", "OK\r\n"} << QList<QByteArray>{"OK\r\n"}
        << QByteArray() << 1;
    QTest::newRow("whole lines before a long one stay")
        << QList<QByteArray>{"A\nB\n" + bytes(kLimit + 3), "\nC"} << QList<QByteArray>{"A\nB\n"} << QByteArray("C") << 1;
    QTest::newRow("two long lines") << QList<QByteArray>{bytes(kLimit) + "\n" + bytes(kLimit, 'y') + "\nD\n"}
                                    << QList<QByteArray>{"D\n"} << QByteArray() << 1;
}

void TestLineBuffer::linesAsTheyArrive()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QList<QByteArray>, delivered);
    QFETCH(QByteArray, left);
    QFETCH(int, drops);

    LineBuffer buffer(kLimit);
    QList<QByteArray> lines;
    int dropped = 0;
    for (const QByteArray& piece : pieces) {
        if (!buffer.append(piece))
            ++dropped;
        if (buffer.hasWholeLine())
            lines << buffer.takeWholeLines();
        QVERIFY(!buffer.hasWholeLine());
    }
    QCOMPARE(lines, delivered);
    QCOMPARE(buffer.bytes(), left);
    QCOMPARE(dropped, drops);
}

QTEST_GUILESS_MAIN(TestLineBuffer)
#include "tst_linebuffer.moc"
