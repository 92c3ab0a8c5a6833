// The window on the real serial port, pelzo-sim as its own process at the
// far end of a pseudo-terminal, in real time.
#include "emulatorprocess.h"

#include "realwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace pelzo;

// Opens an image of the given size with Open ROM and starts the update.
static bool startUpdate(RealWindow &s, const Emulator &emulator, qsizetype bytes)
{
    const QString image = emulator.file("image.bin");
    if (!writeBytes(image, imageBytes(bytes)))
        return false;
    s.platform.openAnswer = image;
    s.platform.answers << QStringLiteral("Update without");
    s.press("Command1");
    s.press("Command2");
    return true;
}

class TestE2e : public QObject
{
    Q_OBJECT

private slots:
    void readWriteReadBackAndWifi()
    {
        Emulator emulator({});
        QVERIFY(emulator.ready);
        RealWindow s(emulator.folder());
        s.press("Command6");
        QVERIFY2(s.form.activityLog().endsWith("read ok"), qPrintable(s.form.activityLog()));
        QCOMPARE(s.form.fieldText(Field::Comment), "PELZO 144.640MHz");
        s.form.setFieldText(Field::Comment, "QRV end to end");
        s.form.setFieldText(Field::AddressMode, StaticIp);
        s.form.setOctet(Field::IpAddress, 3, "42");
        s.press("Command7");
        QVERIFY2(s.form.activityLog().endsWith("Write complete"), qPrintable(s.form.activityLog()));
        QVERIFY(emulator.state().contains("COMMENT TEXT:QRV end to end\n"));
        s.press("Command0");
        s.platform.answers << "Discard";
        s.press("Command6");
        QCOMPARE(s.form.fieldText(Field::Comment), "QRV end to end");
        QCOMPARE(s.form.fieldText(Field::AddressMode), StaticIp);
        QCOMPARE(s.form.octet(Field::IpAddress, 3), "42");
        s.form.setFieldText(Field::WifiSsid, "shack");
        s.form.setFieldText(Field::WifiPassword, "73,de#N0CALL");
        s.press("Command8");
        QVERIFY2(s.form.activityLog().endsWith("WIFI reset...\r\n"), qPrintable(s.form.activityLog()));
        QVERIFY(emulator.state().contains("WIFI SSID:shack\n"));
        QCOMPARE(s.platform.boxes, QStringList());
    }

    void aHundredKilobyteUpdateWithRepeatRequests()
    {
        Emulator emulator({"--ask-repeat-every", "3"});
        QVERIFY(emulator.ready);
        RealWindow s(emulator.folder());
        QVERIFY(startUpdate(s, emulator, 100 * 1024));
        QTRY_VERIFY_WITH_TIMEOUT(s.form.activityLog().endsWith("update complete"), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(emulator.flashed(), imageBytes(100 * 1024), 5000);
        QVERIFY(s.form.control<QPushButton>("Command1")->isEnabled() && !s.form.port().isOpen());
    }

    void aHangUpDuringAReadLeavesTheWindowUsable()
    {
        Emulator emulator({"--hangup-in", "read"});
        QVERIFY(emulator.ready);
        RealWindow s(emulator.folder());
        s.press("Command6");
        QCOMPARE(s.platform.boxes.size(), 1);
        QVERIFY(s.platform.boxes[0].startsWith("Port is open or no|"));
        QCOMPARE(s.form.control<QPushButton>("Command6")->text(), "read data");
        QVERIFY(!s.form.port().isOpen());
        s.press("Command0");
        QCOMPARE(s.form.fieldText(Field::Callsign), "NOCALL");
    }

    void theEmulatorKilledDuringATransfer()
    {
        Emulator emulator({"--block-write-ms", "200"});
        QVERIFY(emulator.ready);
        RealWindow s(emulator.folder());
        QVERIFY(startUpdate(s, emulator, 60 * 1024));
        QTRY_VERIFY_WITH_TIMEOUT(!s.form.control<QPushButton>("Command1")->isEnabled(), 20000);
        emulator.kill();
        QTRY_VERIFY_WITH_TIMEOUT(s.form.activityLog().contains("The update did not finish"), 10000);
        QVERIFY(s.form.control<QPushButton>("Command1")->isEnabled() && s.form.control<QPushButton>("Command2")->isEnabled());
        QCOMPARE(s.form.control<QPushButton>("Command2")->text(), "update");
        QVERIFY(!s.form.port().isOpen());
    }
};

QTEST_MAIN(TestE2e)
#include "tst_e2e.moc"
