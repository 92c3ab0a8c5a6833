// The window on the real serial port, pelzo-sim as its own process at the
// far end of a pseudo-terminal, in real time.
#include "emulatorprocess.h"

#include "realwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace pelzo;

namespace {

// The emulator first: the window finds its port at load.
struct Rig
{
    explicit Rig(const QStringList &options) : emulator(options), window(emulator.folder()) {}

    void press(const char *button) { window.press(button); }
    QString log() const { return window.form.activityLog(); }

    Emulator emulator;
    RealWindow window;
    Form1 &form = window.form;
    UnattendedPlatform &platform = window.platform;
};

} // namespace

class TestE2e : public QObject
{
    Q_OBJECT

private slots:
    void readWriteReadBackAndWifi()
    {
        Rig s({});
        QVERIFY(s.emulator.ready);
        s.press("Command6");
        QVERIFY2(s.log().endsWith("read ok"), qPrintable(s.log()));
        QCOMPARE(s.form.fieldText(Field::Comment), "PELZO 144.640MHz");
        s.form.setFieldText(Field::Comment, "QRV end to end");
        s.form.setFieldText(Field::AddressMode, StaticIp);
        s.form.setOctet(Field::IpAddress, 3, "42");
        s.press("Command7");
        QVERIFY2(s.log().endsWith("Write complete"), qPrintable(s.log()));
        QVERIFY(s.emulator.state().contains("COMMENT TEXT:QRV end to end\n"));
        s.press("Command0");
        s.press("Command6");
        QCOMPARE(s.form.fieldText(Field::Comment), "QRV end to end");
        QCOMPARE(s.form.fieldText(Field::AddressMode), StaticIp);
        QCOMPARE(s.form.octet(Field::IpAddress, 3), "42");
        s.form.setFieldText(Field::WifiSsid, "shack");
        s.form.setFieldText(Field::WifiPassword, "73,de#N0CALL");
        s.press("Command8");
        QVERIFY2(s.log().endsWith("WIFI reset...\r\n"), qPrintable(s.log()));
        QVERIFY(s.emulator.state().contains("WIFI SSID:shack\n"));
        QCOMPARE(s.platform.boxes, QStringList());
    }

    void aHundredKilobyteUpdateWithRepeatRequests()
    {
        Rig s({"--ask-repeat-every", "3"});
        QVERIFY(s.emulator.ready);
        const QString image = s.emulator.file("image.bin");
        QVERIFY(writeBytes(image, imageBytes(100 * 1024)));
        s.platform.openAnswer = image;
        s.press("Command1");
        s.press("Command2");
        QTRY_VERIFY_WITH_TIMEOUT(s.log().endsWith("update complete"), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(s.emulator.flashed(), imageBytes(100 * 1024), 5000);
        QVERIFY(s.form.control<QPushButton>("Command1")->isEnabled() && !s.form.port().isOpen());
    }

    void aHangUpDuringAReadLeavesTheWindowUsable()
    {
        Rig s({"--hangup-in", "read"});
        QVERIFY(s.emulator.ready);
        s.press("Command6");
        QVERIFY2(s.log().contains("Connection to the device lost") || !s.platform.boxes.isEmpty(),
                 qPrintable(s.log()));
        QCOMPARE(s.platform.boxes.size(), 1);
        QVERIFY(s.platform.boxes[0].startsWith("Port is open or no|"));
        QCOMPARE(s.form.control<QPushButton>("Command6")->text(), "read data");
        QVERIFY(!s.form.port().isOpen());
        s.press("Command0");
        QCOMPARE(s.form.fieldText(Field::Callsign), "NOCALL");
    }

    void theEmulatorKilledDuringATransfer()
    {
        Rig s({"--block-write-ms", "200"});
        QVERIFY(s.emulator.ready);
        const QString image = s.emulator.file("image.bin");
        QVERIFY(writeBytes(image, imageBytes(60 * 1024)));
        s.platform.openAnswer = image;
        s.press("Command1");
        s.press("Command2");
        QTRY_VERIFY_WITH_TIMEOUT(!s.form.control<QPushButton>("Command1")->isEnabled(), 20000);
        s.emulator.kill();
        QTRY_VERIFY_WITH_TIMEOUT(s.log().contains("The update did not finish"), 10000);
        QVERIFY(s.form.control<QPushButton>("Command1")->isEnabled() && s.form.control<QPushButton>("Command2")->isEnabled());
        QCOMPARE(s.form.control<QPushButton>("Command2")->text(), "update");
        QVERIFY(!s.form.port().isOpen());
    }
};

QTEST_MAIN(TestE2e)
#include "tst_e2e.moc"
