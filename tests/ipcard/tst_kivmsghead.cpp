#include "ipcard/link/KivMsgHead.h"

#include <QtTest>

class TestKivMsgHead : public QObject
{
    Q_OBJECT
private slots:
    void toBytes_data();
    void toBytes();
    void fromBytesReadsWhatToBytesWrote_data();
    void fromBytesReadsWhatToBytesWrote();
    void fromBytesNeedsSixteenBytes();
};

void TestKivMsgHead::toBytes_data()
{
    QTest::addColumn<quint64>("requestId");
    QTest::addColumn<int>("msgClass");
    QTest::addColumn<int>("msgCommand");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("bodyFormat");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("reserved");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("cleared") << quint64(0) << 0 << 0 << 0 << 0 << 0 << 0 << QByteArray(16, '\0');
    QTest::newRow("heartbeat")
        << quint64(0x0000018CC251F400ULL) << 0xFD << 0 << 0 << 0 << 0 << 0
        << QByteArray::fromHex("00F451C28C010000" "FD000000" "0000" "0000");
    QTest::newRow("decoder view read, raw body")
        << quint64(1) << 3 << 4 << 0 << 2 << 2 << 0
        << QByteArray::fromHex("0100000000000000" "03040002" "0200" "0000");
    QTest::newRow("every byte distinct")
        << quint64(0x0807060504030201ULL) << 0x09 << 0x0A << 0x0B << 0x0C << 0x0E0D << 0x100F
        << QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10");
    QTest::newRow("largest values")
        << quint64(0xFFFFFFFFFFFFFFFFULL) << 0xFF << 0xFF << 0xFF << 0xFF << 0xFFFF << 0xFFFF
        << QByteArray(16, char(0xFF));
    QTest::newRow("card error reply with body")
        << quint64(0x1122334455667788ULL) << 4 << 1 << 9 << 0 << 300 << 0
        << QByteArray::fromHex("8877665544332211" "04010900" "2C01" "0000");
}

// The header a data row describes.
static _KIV_MSG_HEAD_T rowHead()
{
    QFETCH(quint64, requestId);
    QFETCH(int, msgClass);
    QFETCH(int, msgCommand);
    QFETCH(int, result);
    QFETCH(int, bodyFormat);
    QFETCH(int, length);
    QFETCH(int, reserved);
    _KIV_MSG_HEAD_T head;
    head.requestId = requestId;
    head.msgClass = quint8(msgClass);
    head.msgCommand = quint8(msgCommand);
    head.result = quint8(result);
    head.bodyFormat = quint8(bodyFormat);
    head.length = quint16(length);
    head.reserved = quint16(reserved);
    return head;
}

void TestKivMsgHead::toBytes()
{
    QFETCH(QByteArray, wire);
    QCOMPARE(rowHead().toBytes().toHex(), wire.toHex());
}

void TestKivMsgHead::fromBytesReadsWhatToBytesWrote_data()
{
    toBytes_data();
}

void TestKivMsgHead::fromBytesReadsWhatToBytesWrote()
{
    QFETCH(QByteArray, wire);
    const _KIV_MSG_HEAD_T expected = rowHead();
    // Trailing bytes (the body) are not part of the header.
    _KIV_MSG_HEAD_T head;
    QVERIFY(_KIV_MSG_HEAD_T::fromBytes(wire + QByteArray("body"), &head));
    QCOMPARE(head.requestId, expected.requestId);
    QCOMPARE(head.msgClass, expected.msgClass);
    QCOMPARE(head.msgCommand, expected.msgCommand);
    QCOMPARE(head.result, expected.result);
    QCOMPARE(head.bodyFormat, expected.bodyFormat);
    QCOMPARE(head.length, expected.length);
    QCOMPARE(head.reserved, expected.reserved);
}

void TestKivMsgHead::fromBytesNeedsSixteenBytes()
{
    _KIV_MSG_HEAD_T head;
    head.msgClass = 7;
    QVERIFY(!_KIV_MSG_HEAD_T::fromBytes(QByteArray(15, char(0xFF)), &head));
    QCOMPARE(int(head.msgClass), 7);
    QVERIFY(!_KIV_MSG_HEAD_T::fromBytes(QByteArray(16, '\0'), nullptr));
}

QTEST_GUILESS_MAIN(TestKivMsgHead)
#include "tst_kivmsghead.moc"
