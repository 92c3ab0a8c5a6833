#include "recordingport.h"
#include "updatefixture.h"

#include "protocol/serialreceive.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace pelzo;

namespace {

constexpr qint64 ClickMs = 1000;
const QString RestartHint =
    QStringLiteral(" The device may need the update again: restart the device, then press update.");

using Fixture = UpdateFixtureOn<RecordingPlatform>;

// Calls fn every 100 ms, half way between two ticks of Timer2.
template <class F>
void sampleBetweenTicks(F &f, qint64 fromMs, qint64 toMs, const std::function<void()> &fn)
{
    for (qint64 t = fromMs / 100 * 100 + 50; t < toMs; t += 100)
        f.platform.at(t, fn);
}

QByteArray frameOf(const QByteArray &romImage, int block)
{
    QByteArray frame = romImage.mid(qsizetype(block) * 2048, 2048);
    char check = 0;
    for (char c : std::as_const(frame))
        check = char(check ^ c);
    return frame + check;
}

bool controlsEnabled(const Form1 &form)
{
    return buttonNamed(form, "Command1")->isEnabled() && buttonNamed(form, "Command2")->isEnabled() && buttonNamed(form, "Command3")->isEnabled() &&
           comboNamed(form, "Combo1")->isEnabled();
}

bool controlsDisabled(const Form1 &form)
{
    return !buttonNamed(form, "Command1")->isEnabled() && !buttonNamed(form, "Command2")->isEnabled() && !buttonNamed(form, "Command3")->isEnabled() &&
           !comboNamed(form, "Combo1")->isEnabled();
}

} // namespace

class TestBlockTransfer : public QObject
{
    Q_OBJECT

private slots:
    void imageArrivesAsHeaderAndBlocks_data();
    void imageArrivesAsHeaderAndBlocks();
    void headerAndBlockRequestInOneTick();
    void askAgainAfterTheFirstBlock();
    void progressForEightBlocks();
    void completionInTheTickOfTheLastBlock();
    void lastFrameThatCannotLeaveIsNoSuccess();
    void strayResponseOutsideAnUpdate_data();
    void strayResponseOutsideAnUpdate();
    void silentDeviceEndsTheUpdate_data();
    void silentDeviceEndsTheUpdate();
    void lostLinkEndsTheUpdate();
};

void TestBlockTransfer::imageArrivesAsHeaderAndBlocks_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("connectTicks"); // the second tick stops Timer1 when it comes before the end
    QTest::newRow("6144 bytes: last block all filler") << 6144 << QByteArray("\x5E\x00\x00\x03\xE5", 5) << 4 << 1;
    QTest::newRow("100 KB: Timer1 stopped by its second tick")
        << 102400 << QByteArray("\x5E\x00\x00\x32\xE5", 5) << 51 << 2;
}

void TestBlockTransfer::imageArrivesAsHeaderAndBlocks()
{
    QFETCH(int, length);
    QFETCH(QByteArray, header);
    QFETCH(int, blocks);
    QFETCH(int, connectTicks);
    UpdateFixture f;
    const QByteArray image = f.loadImage(length);
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(60000);

    QCOMPARE(f.peer.header.toHex(' '), header.toHex(' '));
    QCOMPARE(f.peer.frames.size(), blocks);
    QCOMPARE(f.peer.badCheckBytes, 0);
    QCOMPARE(f.peer.flash.left(length), image);
    QCOMPARE(f.peer.flash.mid(length), QByteArray(blocks * 2048 - length, '\xFF'));
    if (length % 2048 == 0)
        QCOMPARE(f.peer.frames.last(), QByteArray(2048, '\xFF') + '\0');
    // Nothing but requests, the header and the frames went to the bootloader.
    const QByteArray requests = f.bootloaderBytes().left(4 * f.peer.connectRequestTimes.size());
    QCOMPARE(f.bootloaderBytes().size(), requests.size() + 5 + blocks * 2049);
    QCOMPARE(f.form.activityLog(), QStringLiteral("Wait for update\r\n%1/10\r\nupdate complete").arg(connectTicks));
}

void TestBlockTransfer::headerAndBlockRequestInOneTick()
{
    UpdateFixture f;
    f.loadImage(6000);
    f.peer.headerAnswerWithConnect = true;
    f.peer.silentAfterHeader = true; // it has asked for its block already
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(10000);

    // The 0xC5 that came with the 0xE5 is thrown away with it.
    QCOMPARE(f.peer.header.size(), 5);
    QVERIFY(f.peer.frames.isEmpty());
    QCOMPARE(f.form.firmware.BlockIndex, 0);
    QVERIFY(f.form.firmware.updateInProgress);
}

void TestBlockTransfer::askAgainAfterTheFirstBlock()
{
    UpdateFixture f;
    f.loadImage(9000);
    f.peer.askAgainAfterFrame = {1};
    QList<std::pair<qsizetype, qint32>> framesAndIndex;
    f.clickUpdateAt(ClickMs);
    sampleBetweenTicks(f, ClickMs, 20000, [&] {
        const std::pair<qsizetype, qint32> now{f.peer.frames.size(), f.form.firmware.BlockIndex};
        if (framesAndIndex.isEmpty() || framesAndIndex.last() != now)
            framesAndIndex.append(now);
    });
    f.platform.runUntil(20000);

    const QByteArray &image = f.form.firmware.RomImage;
    const QList<QByteArray> expected{frameOf(image, 0), frameOf(image, 1), frameOf(image, 1), frameOf(image, 2),
                                     frameOf(image, 3), frameOf(image, 4)};
    QCOMPARE(f.peer.frames, expected);
    // "55" sent block 1 and left the index at 1; the next "C5" sent block 1 again and moved on.
    QVERIFY(framesAndIndex.contains(std::pair<qsizetype, qint32>{1, 1}));
    QVERIFY(framesAndIndex.contains(std::pair<qsizetype, qint32>{2, 1}));
    QVERIFY(framesAndIndex.contains(std::pair<qsizetype, qint32>{3, 2}));
    QVERIFY(!framesAndIndex.contains(std::pair<qsizetype, qint32>{2, 2}));
    QCOMPARE(f.peer.flash, image.left(5 * 2048));
}

void TestBlockTransfer::progressForEightBlocks()
{
    UpdateFixture f;
    f.loadImage(8 * 2048 - 1);
    QStringList captions;
    QList<int> bar;
    f.clickUpdateAt(ClickMs);
    sampleBetweenTicks(f, 100, 20000, [&] {
        if (captions.isEmpty() || captions.last() != labelNamed(f.form, "Label2")->text())
            captions.append(labelNamed(f.form, "Label2")->text());
        if (bar.isEmpty() || bar.last() != progressBarNamed(f.form, "ProgressBar1")->value())
            bar.append(progressBarNamed(f.form, "ProgressBar1")->value());
    });
    f.platform.runUntil(20000);

    const QString working = QStringLiteral("updating，don't remove power update step:%1%");
    QCOMPARE(captions,
             QStringList({captions.first(), working.arg(12), working.arg(25), working.arg(38), working.arg(50),
                          working.arg(62), working.arg(75), working.arg(88),
                          QStringLiteral("update complete update step:100%")}));
    QCOMPARE(bar, QList<int>({8, 1, 2, 3, 4, 5, 6, 7, 8}));
}

void TestBlockTransfer::completionInTheTickOfTheLastBlock()
{
    Fixture f;
    f.loadImage(6000);
    bool disabledMidway = false;
    f.clickUpdateAt(ClickMs);
    sampleBetweenTicks(f, ClickMs, 20000, [&] {
        if (f.peer.frames.size() == 2)
            disabledMidway = controlsDisabled(f.form);
    });
    f.platform.runUntil(20000);

    QVERIFY(disabledMidway);
    const auto &ops = f.platform.recorder.ops;
    QCOMPARE(ops.size() >= 3, true);
    const auto last = ops.size() - 1;
    // The last frame, then a bounded drain, then the close, all in one tick.
    QCOMPARE(ops[last - 2].what, QStringLiteral("write 2049"));
    QCOMPARE(ops[last - 1].what, QStringLiteral("drain 2000"));
    QCOMPARE(ops[last].what, QStringLiteral("close"));
    QCOMPARE(ops[last].atMs, ops[last - 2].atMs);
    QCOMPARE(ops[last].atMs % 100, 0);

    const Form1 &form = f.form;
    QVERIFY(!form.port().isOpen());
    QVERIFY(controlsEnabled(form));
    QCOMPARE(buttonNamed(form, "Command2")->text(), QStringLiteral("update"));
    QCOMPARE(form.firmware.BlockIndex, 0);
    QCOMPARE(form.firmware.ConnectTries, 0);
    QCOMPARE(form.firmware.BootReady, 0);
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(!form.firmware.updateInProgress);
    QCOMPARE(labelNamed(form, "Label2")->text(), QStringLiteral("update complete update step:100%"));
    QCOMPARE(progressBarNamed(form, "ProgressBar1")->value(), 3);
}

void TestBlockTransfer::lastFrameThatCannotLeaveIsNoSuccess()
{
    Fixture f;
    f.loadImage(6000);
    const QString label = labelNamed(f.form, "Label2")->text();
    f.platform.recorder.drainFails = true;
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(20000);

    QCOMPARE(f.form.activityLog().split(QStringLiteral("\r\n")).last(),
             QStringLiteral("The update did not finish: the last block did not leave the port (stuck).") + RestartHint);
    QCOMPARE(labelNamed(f.form, "Label2")->text(), label);
    QCOMPARE(progressBarNamed(f.form, "ProgressBar1")->value(), 2);
    QVERIFY(!f.form.port().isOpen());
    QVERIFY(controlsEnabled(f.form));
    QVERIFY(!f.form.firmware.updateInProgress);
}

void TestBlockTransfer::strayResponseOutsideAnUpdate_data()
{
    QTest::addColumn<QByteArray>("byte");
    QTest::addColumn<bool>("afterAnUpdate");
    QTest::newRow("0xC5 before any update") << QByteArray("\xC5") << false;
    QTest::newRow("letter U after a finished update") << QByteArray("U") << true;
}

void TestBlockTransfer::strayResponseOutsideAnUpdate()
{
    QFETCH(QByteArray, byte);
    QFETCH(bool, afterAnUpdate);
    UpdateFixture f;
    f.loadImage(6000);
    if (afterAnUpdate) {
        f.clickUpdateAt(ClickMs);
        f.platform.runUntil(20000);
        QVERIFY(!f.form.firmware.updateInProgress);
    }
    // Another exchange holds the port; its device's first byte after a clear is the stray one.
    QVERIFY(f.form.port().open());
    f.platform.port().clearWrites();
    f.form.Text1.setText(QStringLiteral("  "));
    receiveBytes(f.form, byte);
    f.platform.runFor(1000);

    QVERIFY(f.platform.port().writes().isEmpty());
    QCOMPARE(f.form.Text1.text(), QString::fromLatin1(byte.toHex().toUpper()));
    QCOMPARE(f.form.firmware.BlockIndex, 0);
    QCOMPARE(f.form.firmware.BootReady, 0);
    QVERIFY(f.form.port().isOpen());
    QVERIFY(controlsEnabled(f.form));
}

void TestBlockTransfer::silentDeviceEndsTheUpdate_data()
{
    QTest::addColumn<bool>("silentAfterHeader");
    QTest::addColumn<int>("silentAfterFrames");
    QTest::addColumn<int>("barAfter");
    QTest::newRow("after the header, before the first block") << true << -1 << 0;
    QTest::newRow("half way") << false << 5 << 5;
}

void TestBlockTransfer::silentDeviceEndsTheUpdate()
{
    QFETCH(bool, silentAfterHeader);
    QFETCH(int, silentAfterFrames);
    QFETCH(int, barAfter);
    Fixture f;
    f.loadImage(20000);
    const QString label = labelNamed(f.form, "Label2")->text();
    f.peer.silentAfterHeader = silentAfterHeader;
    f.peer.silentAfterFrames = silentAfterFrames;
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(60000);

    QCOMPARE(f.peer.frames.size(), qMax(silentAfterFrames, 0));
    const auto &ops = f.platform.recorder.ops;
    const auto lastWrite = std::find_if(ops.rbegin(), ops.rend(), [](const auto &op) {
        return op.what.startsWith(QLatin1String("write"));
    });
    QCOMPARE(ops.last().what, QStringLiteral("close"));
    // The last response was served with the last write; thirty seconds later the update ends.
    QCOMPARE(ops.last().atMs - lastWrite->atMs, 30000);
    QCOMPARE(f.form.activityLog().split(QStringLiteral("\r\n")).last(),
             QStringLiteral("The update did not finish: the device has not answered for 30 seconds.") + RestartHint);
    QVERIFY(!f.form.port().isOpen());
    QVERIFY(controlsEnabled(f.form));
    QCOMPARE(buttonNamed(f.form, "Command2")->text(), QStringLiteral("update"));
    QCOMPARE(labelNamed(f.form, "Label2")->text(), label);
    QVERIFY(!f.form.Timer1->isActive());
    QVERIFY(!f.form.firmware.updateInProgress);
    QCOMPARE(f.form.firmware.BlockIndex, 0);
    // A full bar would read as success: it keeps what was sent.
    QCOMPARE(progressBarNamed(f.form, "ProgressBar1")->value(), barAfter);

    // The window is usable again: a new start goes out and completes.
    f.peer = BootloaderPeer();
    f.clickUpdateAt(f.platform.now() + 100);
    f.platform.runFor(30000);
    QCOMPARE(f.peer.flash.left(20000), f.form.firmware.RomImage.left(20000));
    QCOMPARE(progressBarNamed(f.form, "ProgressBar1")->value(), 10);
}

void TestBlockTransfer::lostLinkEndsTheUpdate()
{
    UpdateFixture f;
    f.loadImage(20000);
    f.peer.hangUpAfterFrames = 4;
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(20000);

    QCOMPARE(f.peer.frames.size(), 4);
    QCOMPARE(f.form.activityLog().split(QStringLiteral("\r\n")).last(),
             QStringLiteral("The update did not finish: a block could not be sent (the port is not open).") +
                 RestartHint);
    QCOMPARE(progressBarNamed(f.form, "ProgressBar1")->value(), 4);
    QVERIFY(controlsEnabled(f.form));
    QVERIFY(!f.form.firmware.updateInProgress);

    // A new image shows full again: nothing of it has gone out.
    f.loadImage(9000);
    f.platform.runFor(100);
    QCOMPARE(progressBarNamed(f.form, "ProgressBar1")->value(), 5);
}

QTEST_MAIN(TestBlockTransfer)
#include "tst_blocktransfer.moc"
