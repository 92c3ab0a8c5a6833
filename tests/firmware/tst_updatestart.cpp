#include "recordingport.h"
#include "updatefixture.h"

#include <QLineEdit>
#include <QTest>

using namespace pelzo;

namespace {

const QByteArray ResetCommand("AT+RESET#\r\n");
const QByteArray RebootCommand("REBOOT#\r\n");
const QString PortBusy = QStringLiteral("Port is use or no");

// With the defaults of BootloaderPeer and a click at 1000 ms: the port opens
// at 1101, the acknowledgement is seen at 2102, "REBOOT#" leaves at 3103, the
// port reopens at 3204 and Timer1 ticks at 4204, 5204, ... 13204.
constexpr qint64 ClickMs = 1000;
constexpr qint64 FirstTickMs = 4204;

} // namespace

class TestUpdateStart : public QObject
{
    Q_OBJECT

private slots:
    void smallestImageIsFiveThousandBytes_data();
    void smallestImageIsFiveThousandBytes();
    void busyPortEndsTheStart_data();
    void busyPortEndsTheStart();
    void resetAcknowledgement_data();
    void resetAcknowledgement();
    void noBootloaderAnswer();
    void answerToTheNinthRequestCarriesOn();
    void cancelDuringTheResetPhase();
    void cancelDuringTheConnectPhase();
    void portLostBeforeTheReopen();
    void rebootLeavesThePortBeforeItCloses();
};

void TestUpdateStart::smallestImageIsFiveThousandBytes_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("starts");
    QTest::newRow("4999 bytes") << 4999 << false;
    QTest::newRow("5000 bytes") << 5000 << true;
}

void TestUpdateStart::smallestImageIsFiveThousandBytes()
{
    QFETCH(int, length);
    QFETCH(bool, starts);
    UpdateFixture f;
    if (length >= 0)
        f.loadImage(length);
    f.clickUpdateAt(ClickMs);
    QByteArray sentInResetPhase;
    QString captionInResetPhase;
    bool updatingInResetPhase = false;
    f.platform.at(ClickMs + 500, [&] {
        sentInResetPhase = f.platform.port().writtenBytes();
        captionInResetPhase = buttonNamed(f.form, "Command2")->text();
        updatingInResetPhase = f.form.firmware.updateInProgress;
    });
    f.platform.runUntil(ClickMs + 1000);

    if (starts) {
        QVERIFY(f.platform.messageBoxes.isEmpty());
        QCOMPARE(sentInResetPhase, ResetCommand);
        QCOMPARE(captionInResetPhase, QStringLiteral("update..."));
        QVERIFY(updatingInResetPhase);
    } else {
        QCOMPARE(f.form.activityLog(), QStringLiteral("Please choose fireware\r\n"));
        QCOMPARE(f.platform.messageBoxes.size(), 1);
        QCOMPARE(f.platform.messageBoxes[0].text, QStringLiteral("Please choose fireware"));
        QVERIFY(f.platform.port().writes().isEmpty());
        QVERIFY(!f.form.firmware.updateInProgress);
    }
}

void TestUpdateStart::busyPortEndsTheStart_data()
{
    QTest::addColumn<bool>("heldElsewhere");
    QTest::newRow("another program holds the port") << true;
    QTest::newRow("a running exchange of this window holds it") << false;
}

void TestUpdateStart::busyPortEndsTheStart()
{
    QFETCH(bool, heldElsewhere);
    UpdateFixture f;
    f.loadImage(6000);
    if (heldElsewhere)
        f.platform.port().setHeldElsewhere(1, true);
    else
        QVERIFY(f.form.port().open());
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(ClickMs + 3000);

    QCOMPARE(f.form.activityLog(), QStringLiteral("Please wait auto update.\r\n0/10"));
    QCOMPARE(f.platform.messageBoxes.size(), 1);
    QCOMPARE(f.platform.messageBoxes[0].text, PortBusy);
    QVERIFY(!f.platform.messageBoxes[0].detail.isEmpty());
    QVERIFY(f.platform.port().writes().isEmpty());
    QCOMPARE(f.form.port().isOpen(), !heldElsewhere); // the other exchange keeps its port
    QVERIFY(!f.form.firmware.updateInProgress);
    QCOMPARE(buttonNamed(f.form, "Command2")->text(), QStringLiteral("update"));
}

void TestUpdateStart::resetAcknowledgement_data()
{
    QTest::addColumn<bool>("acknowledges");
    QTest::addColumn<qint64>("ackMs");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("caption");
    QTest::newRow("in the fifth wait") << true << qint64(4500)
                                       << "Wait for reset eeram 4/5\r\n\r\nreset eeram OK\r\n" << "update...";
    QTest::newRow("never") << false << qint64(0) << "Reset eeram fail,Please try again.\r\n" << "update";
}

void TestUpdateStart::resetAcknowledgement()
{
    QFETCH(bool, acknowledges);
    QFETCH(qint64, ackMs);
    QFETCH(QString, log);
    QFETCH(QString, caption);
    UpdateFixture f;
    f.loadImage(6000);
    f.peer.acknowledgesReset = acknowledges;
    f.peer.resetAckMs = ackMs;
    f.peer.answeredRequest = 0;
    QString logBeforeReboot;
    QString captionAtReboot;
    f.peer.onReboot = [&] {
        logBeforeReboot = f.form.activityLog();
        captionAtReboot = buttonNamed(f.form, "Command2")->text();
    };
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(10000);

    QCOMPARE(f.peer.firmwareBytes, ResetCommand + RebootCommand);
    QCOMPARE(logBeforeReboot, log);
    QCOMPARE(captionAtReboot, caption);
    QVERIFY(f.platform.messageBoxes.isEmpty());
    // The connect phase follows whatever the reset phase saw.
    QVERIFY(f.form.Timer1->isActive());
    QVERIFY(f.form.port().isOpen());
    QVERIFY(!f.peer.connectRequestTimes.isEmpty());
    QVERIFY(f.form.firmware.updateInProgress);
}

void TestUpdateStart::noBootloaderAnswer()
{
    UpdateFixture f;
    f.loadImage(6000);
    f.peer.answeredRequest = 0;
    f.clickUpdateAt(ClickMs);
    QString logAtNinth;
    f.platform.at(FirstTickMs + 8 * 1000 + 1, [&] { logAtNinth = f.form.activityLog(); });
    f.platform.runUntil(FirstTickMs + 15000);

    QList<qint64> expected;
    for (int i = 0; i < 9; ++i)
        expected << FirstTickMs + i * 1000;
    QCOMPARE(f.peer.connectRequestTimes, expected);
    QCOMPARE(logAtNinth, QStringLiteral("Wait for update\r\n9/10"));
    QCOMPARE(f.form.activityLog(), QStringLiteral("Wait for update\r\n10/10\r\nConnect fail, Please try again."));
    QCOMPARE(editNamed(f.form, "Text3")->text(), QStringLiteral("10/10"));
    QVERIFY(!f.form.port().isOpen());
    QVERIFY(!f.form.Timer1->isActive());
    QCOMPARE(buttonNamed(f.form, "Command2")->text(), QStringLiteral("update"));
    QVERIFY(!f.form.firmware.updateInProgress);
    QVERIFY(f.platform.messageBoxes.isEmpty());

    // The next start shows the count the last one ended with.
    f.peer.acknowledgesReset = false;
    f.clickUpdateAt(f.platform.now() + 100);
    f.platform.at(f.platform.now() + 150, [&] { logAtNinth = f.form.activityLog(); });
    f.platform.runFor(200);
    QCOMPARE(logAtNinth, QStringLiteral("Please wait auto update.\r\n10/10"));
}

void TestUpdateStart::answerToTheNinthRequestCarriesOn()
{
    UpdateFixture f;
    const QByteArray image = f.loadImage(20000);
    f.peer.answeredRequest = 9;
    f.clickUpdateAt(ClickMs);
    bool portOpenAfterTenthTick = false;
    bool timer1AfterTenthTick = true;
    f.platform.at(FirstTickMs + 9000 + 1, [&] {
        portOpenAfterTenthTick = f.form.port().isOpen();
        timer1AfterTenthTick = f.form.Timer1->isActive();
    });
    f.platform.runUntil(30000);

    QCOMPARE(f.peer.connectRequestTimes.size(), 9);
    QVERIFY(portOpenAfterTenthTick);
    QVERIFY(!timer1AfterTenthTick);
    QVERIFY2(!f.form.activityLog().contains(QStringLiteral("Connect fail")), qPrintable(f.form.activityLog()));
    QCOMPARE(f.form.activityLog(), QStringLiteral("Wait for update\r\n10/10\r\nupdate complete"));
    QCOMPARE(f.peer.flash.left(20000), image);
    QCOMPARE(f.peer.flash.size(), 10 * 2048);
    QCOMPARE(f.peer.badCheckBytes, 0);
    QVERIFY(!f.form.port().isOpen());
    QVERIFY(!f.form.firmware.updateInProgress);
}

void TestUpdateStart::cancelDuringTheResetPhase()
{
    UpdateFixture f;
    f.loadImage(6000);
    f.clickUpdateAt(ClickMs);
    QString logAfterCancel;
    bool updatingAfterCancel = true;
    f.platform.at(ClickMs + 500, [&] {
        buttonNamed(f.form, "Command2")->click();
        logAfterCancel = f.form.activityLog();
        updatingAfterCancel = f.form.firmware.updateInProgress;
    });
    f.platform.runUntil(20000);

    QCOMPARE(logAfterCancel, QStringLiteral("Please wait auto update.\r\n0/10\r\nUpdate cancelled."));
    QVERIFY(!updatingAfterCancel);
    QCOMPARE(f.form.activityLog(), logAfterCancel); // the suspended start writes nothing more
    QCOMPARE(f.peer.firmwareBytes, ResetCommand);   // and sends nothing more
    QVERIFY(!f.form.port().isOpen());
    QVERIFY(!f.form.Timer1->isActive());
    QCOMPARE(buttonNamed(f.form, "Command2")->text(), QStringLiteral("update"));
    // The suspended start ends at its next step with the box it always showed.
    QCOMPARE(f.platform.messageBoxes.size(), 1);
    QCOMPARE(f.platform.messageBoxes[0].text, PortBusy);
    QCOMPARE(f.platform.messageBoxes[0].atMs, ClickMs + 101 + 1001);
}

void TestUpdateStart::cancelDuringTheConnectPhase()
{
    UpdateFixture f;
    f.loadImage(6000);
    f.peer.answeredRequest = 0;
    f.clickUpdateAt(ClickMs);
    f.platform.at(FirstTickMs + 1500, [&] { buttonNamed(f.form, "Command2")->click(); });
    f.platform.runUntil(FirstTickMs + 15000);

    QCOMPARE(f.peer.connectRequestTimes.size(), 2);
    QVERIFY(!f.form.Timer1->isActive());
    QVERIFY(!f.form.port().isOpen());
    QVERIFY(!f.form.firmware.updateInProgress);
    QCOMPARE(f.form.activityLog(), QStringLiteral("Please wait auto update.\r\n2/10\r\nUpdate cancelled."));
    QVERIFY(f.platform.messageBoxes.isEmpty());
}

void TestUpdateStart::portLostBeforeTheReopen()
{
    UpdateFixture f;
    f.loadImage(6000);
    f.peer.answeredRequest = 0;
    f.clickUpdateAt(ClickMs);
    // Between the close after "REBOOT#" (3103) and the reopen (3204).
    f.platform.at(3150, [&] { f.platform.port().setHeldElsewhere(1, true); });
    f.platform.runUntil(FirstTickMs + 3000);

    QCOMPARE(f.platform.messageBoxes.size(), 1);
    QCOMPARE(f.platform.messageBoxes[0].text, PortBusy);
    QCOMPARE(f.platform.messageBoxes[0].detail,
             QStringLiteral("COM1 (virtual:COM1): Permission error while locking the device"));
    QVERIFY(f.peer.connectRequestTimes.isEmpty());
    QVERIFY(!f.form.Timer1->isActive());
    QVERIFY(!f.form.firmware.updateInProgress);
    QCOMPARE(buttonNamed(f.form, "Command2")->text(), QStringLiteral("update"));
}

void TestUpdateStart::rebootLeavesThePortBeforeItCloses()
{
    UpdateFixtureOn<RecordingPlatform> f;
    f.loadImage(6000);
    f.peer.answeredRequest = 0;
    f.clickUpdateAt(ClickMs);
    f.platform.runUntil(FirstTickMs - 1);

    QStringList ops;
    for (const RecordingPort::Op &op : std::as_const(f.platform.recorder.ops)) {
        if (op.atMs >= ClickMs) // start-up's port probe came before
            ops << op.what;
    }
    // "AT+RESET#" + CR LF, then "REBOOT#" + CR LF drained before the close.
    QCOMPARE(ops, QStringList({"write 11", "write 9", "drain 1000", "close"}));
}

QTEST_MAIN(TestUpdateStart)
#include "tst_updatestart.moc"
