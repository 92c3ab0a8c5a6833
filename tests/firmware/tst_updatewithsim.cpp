#include "simpeer.h"
#include "updatefixture.h"

#include <QPushButton>
#include <QTest>

using namespace pelzo;

namespace {

constexpr qint64 ClickMs = 1000;
constexpr qint64 RunMs = 120000; // longer than any update and its stall time-out

struct SimFixture : UpdateFixture
{
    explicit SimFixture(const pelzosim::Options &options) : sim(options) { platform.port().attachPeer(&sim); }
    SimPeer sim;
};

pelzosim::Options options(void (*change)(pelzosim::Options &))
{
    pelzosim::Options o;
    if (change)
        change(o);
    return o;
}

} // namespace

Q_DECLARE_METATYPE(pelzosim::Options)

// The whole update against the emulated PELZO, each row one way the device behaves.
class TestUpdateWithSim : public QObject
{
    Q_OBJECT

private slots:
    void imageArrivesIntact_data();
    void imageArrivesIntact();
    void failingDeviceEndsInAClearState_data();
    void failingDeviceEndsInAClearState();
};

void TestUpdateWithSim::imageArrivesIntact_data()
{
    QTest::addColumn<pelzosim::Options>("device");
    QTest::addColumn<int>("length");
    QTest::newRow("asks with 0x55 after every block") << options([](auto &o) { o.askRepeatEvery = 1; }) << 20000;
    QTest::newRow("paced input, slow flash writes") << options([](auto &o) {
        o.paceInput = true;
        o.blockWriteMs = 120;
    }) << 102400;
    QTest::newRow("answers 400 ms late") << options([](auto &o) { o.answerDelayMs = 400; }) << 30000;
    QTest::newRow("answers in 1-byte pieces") << options([](auto &o) {
        o.pieceBytes = 1;
        o.piecePauseMs = 30;
    }) << 10000;
    QTest::newRow("largest image") << options(nullptr) << 524287;
}

void TestUpdateWithSim::imageArrivesIntact()
{
    QFETCH(pelzosim::Options, device);
    QFETCH(int, length);
    SimFixture f(device);
    const QByteArray image = f.loadImage(length);
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(RunMs + length / 2048 * 1000);

    QCOMPARE(f.sim.device.flashedImage().size(), length);
    QVERIFY(f.sim.device.flashedImage() == image);
    QVERIFY2(f.form.activityLog().endsWith(QStringLiteral("\r\nupdate complete")), qPrintable(f.form.activityLog()));
    QVERIFY(f.platform.messageBoxes.isEmpty());
    QVERIFY(!f.form.firmware.updateInProgress);
    QVERIFY(!f.form.port().isOpen());
    QVERIFY(buttonNamed(f.form, "Command1")->isEnabled() && buttonNamed(f.form, "Command2")->isEnabled());
}

void TestUpdateWithSim::failingDeviceEndsInAClearState_data()
{
    QTest::addColumn<pelzosim::Options>("device");
    QTest::addColumn<QString>("lastLine");
    const QString stalled = QStringLiteral(
        "The update did not finish: the device has not answered for 30 seconds. The device may need the update "
        "again: restart the device, then press update.");
    QTest::newRow("drops the link at block 3")
        << options([](auto &o) {
               o.hangupIn = pelzosim::HangupPoint::Block;
               o.hangupBlock = 3;
           })
        << stalled;
    QTest::newRow("never enters the bootloader") << options([](auto &o) { o.enterBootloader = false; })
                                                 << QStringLiteral("Connect fail, Please try again.");
    QTest::newRow("stray byte before every bootloader answer")
        << options([](auto &o) { o.bootloaderStray = QByteArray("\x00", 1); })
        << QStringLiteral("Connect fail, Please try again.");
}

void TestUpdateWithSim::failingDeviceEndsInAClearState()
{
    QFETCH(pelzosim::Options, device);
    QFETCH(QString, lastLine);
    SimFixture f(device);
    f.loadImage(20000);
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(RunMs);

    QVERIFY(f.sim.device.flashedImage().isEmpty());
    QCOMPARE(f.form.activityLog().split(QStringLiteral("\r\n")).last(), lastLine);
    QVERIFY(!f.form.firmware.updateInProgress);
    QVERIFY(!f.form.port().isOpen());
    QVERIFY(!f.form.Timer1->isActive());
    QVERIFY(buttonNamed(f.form, "Command1")->isEnabled() && buttonNamed(f.form, "Command2")->isEnabled());
    QCOMPARE(buttonNamed(f.form, "Command2")->text(), QStringLiteral("update"));
}

QTEST_MAIN(TestUpdateWithSim)
#include "tst_updatewithsim.moc"
