#include "hostflasher.h"
#include "virtualhost.h"

#include <QTest>

using pelzosim::BootStage;
using pelzosim::Options;
using pelzosim::Phase;

namespace {

constexpr int kMaxSteps = 10'000;

Options withRepeat(int every)
{
    Options options;
    options.askRepeatEvery = every;
    return options;
}

void reboot(VirtualHost &host)
{
    host.write("REBOOT#\r\n");
    QCOMPARE(host.device.phase(), Phase::Bootloader);
}

// Runs a transfer the way the program does until the host is done, the device
// goes quiet or drops the link; returns what the device sent.
QByteArray flash(VirtualHost &host, HostFlasher &flasher)
{
    reboot(host);
    host.write(HostFlasher::kConnectRequest);
    QByteArray sent;
    for (int step = 0; step < kMaxSteps && !flasher.done() && host.step(); ++step) {
        const QByteArray bytes = host.takeReceived();
        sent += bytes;
        for (char byte : bytes)
            host.write(flasher.answer(byte));
    }
    return sent;
}

} // namespace

class TestSimBootloader : public QObject {
    Q_OBJECT

private slots:
    void rebootReturnsToFirmwareWithoutConnect_data();
    void rebootReturnsToFirmwareWithoutConnect();
    void neverEnteringBootloader();
    void flashesImage_data();
    void flashesImage();
    void badFrameStopsTransfer_data();
    void badFrameStopsTransfer();
    void hostStrayBytesAreDropped();
    void transferMisbehaviour_data();
    void transferMisbehaviour();
    void answerTiming();
};

void TestSimBootloader::rebootReturnsToFirmwareWithoutConnect_data()
{
    QTest::addColumn<qint64>("rebootMs");
    QTest::newRow("default window") << qint64(3000);
    QTest::newRow("short window") << qint64(400);
}

void TestSimBootloader::rebootReturnsToFirmwareWithoutConnect()
{
    QFETCH(qint64, rebootMs);
    Options options;
    options.rebootMs = rebootMs;
    VirtualHost host(options);
    host.nowMs = 500;
    reboot(host);
    QCOMPARE(host.device.nextDueMs(), 500 + rebootMs);
    host.write("SETUP#\r\n");
    host.advance(rebootMs - 1);
    QCOMPARE(host.device.phase(), Phase::Bootloader);
    QVERIFY(host.takeReceived().isEmpty());
    host.advance(1);
    QCOMPARE(host.device.phase(), Phase::Firmware);
    host.write("SETUP#\r\n");
    host.advance(0);
    QCOMPARE(host.takeReceived(), QByteArray("CONNECT\r\n"));
}

void TestSimBootloader::neverEnteringBootloader()
{
    Options options;
    options.enterBootloader = false;
    VirtualHost host(options);
    host.write("REBOOT#\r\n");
    QCOMPARE(host.device.phase(), Phase::Firmware);
    host.write(HostFlasher::kConnectRequest + "\r\nSETUP#\r\n");
    host.advance(5000);
    QCOMPARE(host.takeReceived(), QByteArray("CONNECT\r\n"));
}

void TestSimBootloader::flashesImage_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("repeatEvery");
    QTest::addColumn<int>("repeatedFrames");
    QTest::newRow("5000 bytes, last block partly filler") << 5000 << 0 << 0;
    QTest::newRow("6144 bytes, last block all filler") << 6144 << 0 << 0;
    QTest::newRow("10 KB") << 10240 << 0 << 0;
    QTest::newRow("one byte short of a block") << 2047 << 0 << 0;
    QTest::newRow("0x55 after every block") << 5000 << 1 << 2;
    QTest::newRow("0x55 after every second block") << 10240 << 2 << 2;
    QTest::newRow("0x55 before the last block") << 6144 << 3 << 1;
}

void TestSimBootloader::flashesImage()
{
    QFETCH(int, size);
    QFETCH(int, repeatEvery);
    QFETCH(int, repeatedFrames);
    const QByteArray image = HostFlasher::testImage(size);
    HostFlasher flasher(image);
    VirtualHost host(withRepeat(repeatEvery));
    flash(host, flasher);
    QVERIFY(flasher.done());
    QCOMPARE(host.device.flashedImage(), image);
    QCOMPARE(host.device.phase(), Phase::Firmware);
    QCOMPARE(host.device.transfer().stage, BootStage::Complete);
    QCOMPARE(host.device.transfer().blockCount, flasher.blockCount());
    QCOMPARE(host.device.counters().blocksReceived, flasher.blockCount());
    QCOMPARE(host.device.counters().repeatedFrames, repeatedFrames);
}

void TestSimBootloader::badFrameStopsTransfer_data()
{
    QTest::addColumn<int>("repeatEvery");
    QTest::addColumn<int>("corruptBlock");
    QTest::addColumn<bool>("breakRepeatRule");
    QTest::addColumn<int>("blocksTaken");
    QTest::newRow("bad check byte in first block") << 0 << 0 << false << 0;
    QTest::newRow("bad check byte in last block") << 0 << 4 << false << 4;
    QTest::newRow("bad check byte in a frame sent on 0x55") << 2 << 2 << false << 2;
    QTest::newRow("host sends the old block on 0x55") << 1 << -1 << true << 1;
}

void TestSimBootloader::badFrameStopsTransfer()
{
    QFETCH(int, repeatEvery);
    QFETCH(int, corruptBlock);
    QFETCH(bool, breakRepeatRule);
    QFETCH(int, blocksTaken);
    HostFlasher flasher(HostFlasher::testImage(9000));
    flasher.corruptCheckOfBlock = corruptBlock;
    flasher.resendPreviousOnRepeat = breakRepeatRule;
    VirtualHost host(withRepeat(repeatEvery));
    flash(host, flasher);
    QCOMPARE(host.device.transfer().stage, BootStage::Failed);
    QVERIFY(!host.device.transfer().error.isEmpty());
    QCOMPARE(host.device.counters().blocksReceived, blocksTaken);
    QCOMPARE(host.device.counters().checkErrors, corruptBlock >= 0 ? 1 : 0);
    QVERIFY(host.device.flashedImage().isEmpty());
    QCOMPARE(host.device.phase(), Phase::Firmware);
    host.write("\r\nSETUP#\r\n");
    host.advance(0);
    QCOMPARE(host.takeReceived(), QByteArray("CONNECT\r\n"));
}

void TestSimBootloader::hostStrayBytesAreDropped()
{
    Options options;
    options.blockWriteMs = 30;
    VirtualHost host(options);
    const QByteArray image = HostFlasher::testImage(3000);
    HostFlasher flasher(image);
    reboot(host);
    host.write(QByteArray("\r\n\x5F\x00", 4) + HostFlasher::kConnectRequest);
    host.advance(0);
    QCOMPARE(host.takeReceived(), QByteArray("\xE5"));
    host.write(HostFlasher::kConnectRequest);
    host.advance(0);
    QCOMPARE(host.takeReceived(), QByteArray("\xE5"));
    QByteArray badHeader = flasher.header();
    badHeader[4] = 0;
    host.write("\r\n" + badHeader + flasher.header());
    host.advance(0);
    QCOMPARE(host.takeReceived(), QByteArray("\xC5"));
    QCOMPARE(host.device.counters().headerErrors, 1);
    host.write(flasher.frame(0));
    host.write("junk while writing");
    host.advance(options.blockWriteMs);
    QCOMPARE(host.takeReceived(), QByteArray("\xC5"));
    host.write(flasher.frame(1));
    QCOMPARE(host.device.flashedImage(), image);
    QCOMPARE(host.device.counters().connectRequests, 2);
    // LF after REBOOT#, CR LF and a broken request before the connect request,
    // CR LF and the rejected header, then the junk sent while block 0 was written.
    QCOMPARE(host.device.counters().strayBytes, 5 + 7 + 18);
}

void TestSimBootloader::transferMisbehaviour_data()
{
    QTest::addColumn<QByteArray>("stray");
    QTest::addColumn<int>("silentAfter");
    QTest::addColumn<int>("hangupBlock");
    QTest::addColumn<int>("blocksTaken");
    QTest::addColumn<QByteArray>("sentAfterConnect");
    QTest::newRow("stray byte before each answer") << QByteArray("\x00", 1) << -1 << -1 << 5
                                                   << QByteArray::fromHex("00e500c500c500c500c500c5");
    QTest::newRow("silent after block 1") << QByteArray() << 1 << -1 << 2 << QByteArray::fromHex("e5c5c5");
    QTest::newRow("link dropped in block 2") << QByteArray() << -1 << 2 << 2 << QByteArray::fromHex("e5c5c5c5");
}

void TestSimBootloader::transferMisbehaviour()
{
    QFETCH(QByteArray, stray);
    QFETCH(int, silentAfter);
    QFETCH(int, hangupBlock);
    QFETCH(int, blocksTaken);
    QFETCH(QByteArray, sentAfterConnect);
    Options options;
    options.bootloaderStray = stray;
    if (silentAfter >= 0)
        options.silentAfterBlock = silentAfter;
    if (hangupBlock >= 0) {
        options.hangupIn = pelzosim::HangupPoint::Block;
        options.hangupBlock = hangupBlock;
    }
    VirtualHost host(options);
    HostFlasher flasher(HostFlasher::testImage(9000));
    QCOMPARE(flash(host, flasher), sentAfterConnect);
    QCOMPARE(host.device.counters().blocksReceived, blocksTaken);
    QCOMPARE(host.hungUp, hangupBlock >= 0);
    QCOMPARE(host.device.flashedImage().isEmpty(), blocksTaken < flasher.blockCount());
}

void TestSimBootloader::answerTiming()
{
    Options options;
    options.answerDelayMs = 40;
    options.blockWriteMs = 25;
    VirtualHost host(options);
    HostFlasher flasher(HostFlasher::testImage(5000));
    reboot(host);
    host.write(HostFlasher::kConnectRequest);
    QCOMPARE(host.device.nextDueMs(), 40);
    host.advance(40);
    host.write(flasher.header());
    QCOMPARE(host.device.nextDueMs(), 80);
    host.advance(40);
    host.write(flasher.frame(0));
    QCOMPARE(host.device.nextDueMs(), 80 + 40 + 25);
    QCOMPARE(host.device.phase(), Phase::Bootloader);
}

QTEST_GUILESS_MAIN(TestSimBootloader)
#include "tst_simbootloader.moc"
