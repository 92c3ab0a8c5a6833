#include "firmware/bootloaderframes.h"
#include "firmware/progresstext.h"

#include <QTest>

using namespace pelzo;

class TestBootloaderFrames : public QObject
{
    Q_OBJECT

private slots:
    void headerDescribesTheImage_data();
    void headerDescribesTheImage();
    void checkByteIsXorOfTheDataBytes_data();
    void checkByteIsXorOfTheDataBytes();
    void frameHoldsTheBlockAndItsCheckByte();
    void frameOutsideTheImageIsRefused_data();
    void frameOutsideTheImageIsRefused();
    void responseIsReadFromTheStartOfTheHexDump_data();
    void responseIsReadFromTheStartOfTheHexDump();
    void percentRoundsHalvesToEven_data();
    void percentRoundsHalvesToEven();
};

void TestBootloaderFrames::headerDescribesTheImage_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("5000: two whole blocks and 904 bytes") << 5000 << QByteArray("\x5E\x03\x88\x02\xE5", 5);
    QTest::newRow("6144: three whole blocks, no remainder") << 6144 << QByteArray("\x5E\x00\x00\x03\xE5", 5);
    QTest::newRow("4096: two whole blocks") << 4096 << QByteArray("\x5E\x00\x00\x02\xE5", 5);
    QTest::newRow("2047: no whole block") << 2047 << QByteArray("\x5E\x07\xFF\x00\xE5", 5);
    QTest::newRow("largest image: 255 whole blocks") << 524287 << QByteArray("\x5E\x07\xFF\xFF\xE5", 5);
    QTest::newRow("remainder below 256: high byte zero") << 2048 + 200 << QByteArray("\x5E\x00\xC8\x01\xE5", 5);
}

void TestBootloaderFrames::headerDescribesTheImage()
{
    QFETCH(int, length);
    QFETCH(QByteArray, header);
    QCOMPARE(imageHeader(length).toHex(' '), header.toHex(' '));
}

void TestBootloaderFrames::checkByteIsXorOfTheDataBytes_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("check");
    QByteArray twoBytes(2049, '\0');
    twoBytes[0] = 0x01;
    twoBytes[1] = 0x02;
    QTest::newRow("0x01, 0x02, zeros") << twoBytes << 0x03;
    QByteArray filler(2049, '\xFF');
    QTest::newRow("2048 bytes of filler") << filler << 0x00;
    filler[2047] = 0x0F;
    QTest::newRow("odd count of 0xFF") << filler << 0xF0;
    QByteArray slotOnly(2049, '\0');
    slotOnly[2048] = '\x5A';
    QTest::newRow("the check-byte slot is left out") << slotOnly << 0x00;
}

void TestBootloaderFrames::checkByteIsXorOfTheDataBytes()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, check);
    QCOMPARE(int(XorChecksum(frame)), check);
}

void TestBootloaderFrames::frameHoldsTheBlockAndItsCheckByte()
{
    QByteArray image(3 * 2048 + 1, '\xFF');
    for (int i = 0; i < 2048; ++i)
        image[2048 + i] = char(i * 7);
    QByteArray buf(2049, '\0');
    QVERIFY(fillBlockFrame(image, 1, buf));
    QCOMPARE(buf.size(), 2049);
    QCOMPARE(buf.left(2048), image.mid(2048, 2048));
    char check = 0;
    for (int i = 0; i < 2048; ++i)
        check = char(check ^ char(i * 7));
    QCOMPARE(buf.at(2048), check);
}

void TestBootloaderFrames::frameOutsideTheImageIsRefused_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative index") << -1;
    QTest::newRow("one past the last block") << 3;
    QTest::newRow("far past the image") << 1000;
}

void TestBootloaderFrames::frameOutsideTheImageIsRefused()
{
    QFETCH(int, index);
    const QByteArray image(3 * 2048 + 1, '\x11');
    QByteArray buf(2049, '\x22');
    QVERIFY(!fillBlockFrame(image, index, buf));
    QCOMPARE(buf, QByteArray(2049, '\x22'));
}

void TestBootloaderFrames::responseIsReadFromTheStartOfTheHexDump_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<BootResponse>("response");
    QTest::newRow("E5: header wanted") << "E5" << BootResponse::HeaderWanted;
    QTest::newRow("C5: next block") << "C5" << BootResponse::NextBlock;
    QTest::newRow("55: same block again") << "55" << BootResponse::SameBlockAgain;
    QTest::newRow("E5 then C5: the first decides") << "E5C5" << BootResponse::HeaderWanted;
    QTest::newRow("C5 not at the start") << "0DC5" << BootResponse::None;
    QTest::newRow("lower-case digits are no response") << "e5" << BootResponse::None;
    QTest::newRow("cleared text") << "  " << BootResponse::None;
    QTest::newRow("initial text") << "Text1" << BootResponse::None;
    QTest::newRow("one digit only") << "C" << BootResponse::None;
}

void TestBootloaderFrames::responseIsReadFromTheStartOfTheHexDump()
{
    QFETCH(QString, text);
    QFETCH(BootResponse, response);
    QCOMPARE(bootResponseAt(QStringView(text).left(2)), response);
}

void TestBootloaderFrames::percentRoundsHalvesToEven_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("percent");
    QTest::newRow("1 of 8: 12.5 to 12") << 1 << 8 << 12;
    QTest::newRow("3 of 8: 37.5 to 38") << 3 << 8 << 38;
    QTest::newRow("5 of 8: 62.5 to 62") << 5 << 8 << 62;
    QTest::newRow("7 of 8: 87.5 to 88") << 7 << 8 << 88;
    QTest::newRow("23 of 40: 57.5 to 58") << 23 << 40 << 58;
    QTest::newRow("1 of 3: 33.3 down") << 1 << 3 << 33;
    QTest::newRow("2 of 3: 66.7 up") << 2 << 3 << 67;
    QTest::newRow("all") << 8 << 8 << 100;
    QTest::newRow("1 of 200: 0.5 to 0") << 1 << 200 << 0;
    QTest::newRow("3 of 200: 1.5 to 2") << 3 << 200 << 2;
}

void TestBootloaderFrames::percentRoundsHalvesToEven()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(int, percent);
    QCOMPARE(roundedPercent(done, total), percent);
}

QTEST_APPLESS_MAIN(TestBootloaderFrames)
#include "tst_bootloaderframes.moc"
