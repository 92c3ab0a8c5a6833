#include "firmware/bootloaderframes.h"

#include <QTest>

using namespace pelzo;

class TestBootloaderFrames : public QObject
{
    Q_OBJECT

private slots:
    void frameOutsideTheImageIsRefused_data();
    void frameOutsideTheImageIsRefused();
    void responseIsReadFromTheStartOfTheHexDump_data();
    void responseIsReadFromTheStartOfTheHexDump();
};

void TestBootloaderFrames::frameOutsideTheImageIsRefused_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative index") << -1;
    QTest::newRow("one past the last block") << 3;
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
}

void TestBootloaderFrames::responseIsReadFromTheStartOfTheHexDump()
{
    QFETCH(QString, text);
    QFETCH(BootResponse, response);
    QCOMPARE(bootResponseAt(QStringView(text).left(2)), response);
}

QTEST_APPLESS_MAIN(TestBootloaderFrames)
#include "tst_bootloaderframes.moc"
