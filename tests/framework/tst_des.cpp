// The password transform against published DES answers and against libcrypto's DES-ECB.
#include "framework/Utilities.h"

#include "DesReference.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Keeps embedded NULs (the QByteArray overload of fromLatin1 stops at the first one).
QString latin1(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.constData(), bytes.size());
}

} // namespace

class TestDes : public QObject
{
    Q_OBJECT

private slots:
    void knownAnswers_data();
    void knownAnswers();
    void blockCount_data();
    void blockCount();
    void keyHandling_data();
    void keyHandling();
    void textConversion();
    void lengthLimit();
    void matchesLibcrypto();
};

void TestDes::knownAnswers_data()
{
    QTest::addColumn<QByteArray>("keyHex");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QString>("expected");

    QTest::newRow("textbook 133457799BBCDFF1")
        << QByteArray("133457799BBCDFF1") << QByteArray::fromHex("0123456789ABCDEF")
        << "85E813540F0AB405";
    QTest::newRow("ECB sample, three blocks")
        << QByteArray("0123456789ABCDEF") << QByteArray("Now is the time for all ")
        << "3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53";
    // Variable plain text under the weak key 0101...; zero bytes come from the padding.
    QTest::newRow("plain 80..") << QByteArray("0101010101010101") << QByteArray("\x80", 1)
                                << "95F8A5E5DD31D900";
    QTest::newRow("plain 40..") << QByteArray("0101010101010101") << QByteArray("\x40", 1)
                                << "DD7F121CA5015619";
    QTest::newRow("plain 20..") << QByteArray("0101010101010101") << QByteArray("\x20", 1)
                                << "2E8653104F3834EA";
    // Substitution-table answers.
    QTest::newRow("S-box 7CA110454A1A6E57")
        << QByteArray("7CA110454A1A6E57") << QByteArray::fromHex("01A1D6D039776742")
        << "690F5B0D9A26939B";
    QTest::newRow("S-box 0131D9619DC1376E")
        << QByteArray("0131D9619DC1376E") << QByteArray::fromHex("5CD54CA83DEF57DA")
        << "7A389D10354BD271";
    QTest::newRow("S-box 07A1133E4A0B2686")
        << QByteArray("07A1133E4A0B2686") << QByteArray::fromHex("0248D43806F67172")
        << "868EBB51CAB4599A";
}

void TestDes::knownAnswers()
{
    QFETCH(QByteArray, keyHex);
    QFETCH(QByteArray, plain);
    QFETCH(QString, expected);
    QCOMPARE(desEncrypt(latin1(plain), latin1(QByteArray::fromHex(keyHex))), expected);
    QCOMPARE(desDecrypt(expected.toLower(), latin1(QByteArray::fromHex(keyHex))), plain);
}

void TestDes::blockCount_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("digits");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("1 byte") << 1 << 16;
    QTest::newRow("8 bytes") << 8 << 16;
    QTest::newRow("9 bytes") << 9 << 32;
    QTest::newRow("16 bytes, no extra block") << 16 << 32;
    QTest::newRow("17 bytes") << 17 << 48;
}

void TestDes::blockCount()
{
    QFETCH(int, length);
    QFETCH(int, digits);
    const QString text = QString(length, QLatin1Char('p'));
    const QString hex = desEncrypt(text, QStringLiteral("admin"));
    QCOMPARE(hex.size(), digits);
    QVERIFY(QRegularExpression(QStringLiteral("\\A[0-9A-F]*\\z")).match(hex).hasMatch());
    if (length > 8) {
        // ECB: each block on its own; the last one is padded with zero bytes.
        QCOMPARE(hex.left(16), desEncrypt(text.left(8), QStringLiteral("admin")));
        QCOMPARE(hex.mid(16, 16), desEncrypt(text.mid(8, 8), QStringLiteral("admin")));
    }
}

void TestDes::keyHandling_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("sameAs");
    QTest::newRow("longer key cut after 8")
        << QStringLiteral("abcdefgh-and-more") << QStringLiteral("abcdefgh");
    QTest::newRow("short key padded with zero bytes")
        << QStringLiteral("abc") << QString::fromLatin1("abc\0\0\0\0\0", 8);
    QTest::newRow("empty key is eight zero bytes")
        << QString() << QString::fromLatin1("\0\0\0\0\0\0\0\0", 8);
    // 'a' = 0x61 and '`' = 0x60 differ only in the parity bit; so do '3' and '2'.
    QTest::newRow("parity bits ignored") << QStringLiteral("a3cdefgh") << QStringLiteral("`2cdefgh");
    QTest::newRow("non-Latin-1 key characters become '?'")
        << QStringLiteral("中文ab") << QStringLiteral("??ab");
}

void TestDes::keyHandling()
{
    QFETCH(QString, key);
    QFETCH(QString, sameAs);
    const QString text = QStringLiteral("pass1234word");
    QCOMPARE(desEncrypt(text, key), desEncrypt(text, sameAs));
    QVERIFY(desEncrypt(text, key) != desEncrypt(text, QStringLiteral("other")));
}

void TestDes::textConversion()
{
    const QString key = QStringLiteral("user6688");
    QCOMPARE(desEncrypt(QStringLiteral("密码"), key), desEncrypt(QStringLiteral("??"), key));
    QCOMPARE(desEncrypt(QString::fromLatin1("abc\0def", 7), key), desEncrypt(QStringLiteral("abc"), key));
    QCOMPARE(desEncrypt(QString(QChar(0)) + QStringLiteral("x"), key), QString());
    QCOMPARE(desEncrypt(QString(), key), QString());
    // Only hexadecimal of whole blocks has a plain text; the padding's zeros are not part of it.
    const QString block = desEncrypt(QStringLiteral("abc"), key);
    QCOMPARE(desDecrypt(block, key), QByteArray("abc"));
    for (const QString& malformed : {block.left(15), block + "00", "Z" + block.mid(1), " " + block, QString()})
        QCOMPARE(desDecrypt(malformed, key), QByteArray());
}

void TestDes::lengthLimit()
{
    const QString key = QStringLiteral("limit");
    const QByteArray longest(4096, 'z');
    const QString hex = desEncrypt(latin1(longest), key);
    QCOMPARE(hex.size(), 8192);
    QCOMPARE(hex, desReferenceHex(longest, key.toLatin1()));
    // Beyond the limit the text is refused rather than cut.
    QCOMPARE(desEncrypt(latin1(QByteArray(4097, 'z')), key), QString());
    QCOMPARE(desEncrypt(latin1(QByteArray(20000, 'z')), key), QString());
}

void TestDes::matchesLibcrypto()
{
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    for (int i = 0; i < 2000; ++i) {
        QByteArray text(random.bounded(1, 80), Qt::Uninitialized);
        for (char& c : text)
            c = char(random.bounded(1, 256)); // no NUL: it would end the text
        QByteArray key(random.bounded(0, 13), Qt::Uninitialized);
        for (char& c : key)
            c = char(random.bounded(0, 256));
        const QString actual = desEncrypt(latin1(text), latin1(key));
        const QString expected = desReferenceHex(text, key);
        const QByteArray decrypted = desDecrypt(expected, latin1(key));
        if (actual != expected || decrypted != text)
            QFAIL(qPrintable(QStringLiteral("seed %1: text %2 key %3: %4 instead of %5")
                                 .arg(seed)
                                 .arg(QString::fromLatin1(text.toHex()), QString::fromLatin1(key.toHex()),
                                      actual, expected)
                                 + QStringLiteral(", decrypted %1").arg(QString::fromLatin1(decrypted.toHex()))));
    }
}

QTEST_GUILESS_MAIN(TestDes)
#include "tst_des.moc"
