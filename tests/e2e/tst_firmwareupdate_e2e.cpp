#include "emulatedwindow.h"
#include "filebytes.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Room for a whole 100 KB update (about 10 s) on a loaded machine; the waits
// end as soon as the window is done.
constexpr int UpdateTimeoutMs = 90000;
// Shortened from its 30 s so the silent-device run stays short; the virtual-time
// tests hold the real figure.
constexpr int TestStallTimeoutMs = 3000;

QString writeImage(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("image.bin"));
    return writeBytes(path, bytes) ? path : QString();
}

QString lastLine(const pelzo::Form1 &form)
{
    return form.activityLog().split(QStringLiteral("\r\n")).last();
}

} // namespace

class TestFirmwareUpdateE2e : public QObject
{
    Q_OBJECT

private slots:
    void imageArrivesIntact_data();
    void imageArrivesIntact();
    void silentDeviceIsGivenUp();
};

void TestFirmwareUpdateE2e::imageArrivesIntact_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("length");
    QTest::newRow("100 KB into a well-behaved device") << QStringList() << 102400;
    QTest::newRow("device asking with 0x55 now and then") << QStringList{"--ask-repeat-every", "3"} << 30000;
}

void TestFirmwareUpdateE2e::imageArrivesIntact()
{
    QFETCH(QStringList, options);
    QFETCH(int, length);
    QTemporaryDir dir;
    EmulatorProcess sim(dir.path(), options);
    QVERIFY(sim.ready);
    EmulatedWindow window(dir.path());
    const QByteArray image = imageBytes(length);
    window.chooseImage(writeImage(dir, image));
    QCOMPARE(window.form.firmware.RomLength, length);

    buttonNamed(window.form, "Command2")->click(); // returns when the connect phase has begun
    QVERIFY(window.form.firmware.updateInProgress);
    QTRY_VERIFY_WITH_TIMEOUT(!window.form.firmware.updateInProgress, UpdateTimeoutMs);

    QCOMPARE(lastLine(window.form), QStringLiteral("update complete"));
    QVERIFY2(window.platform.boxes.isEmpty(), qPrintable(window.platform.boxes.join(QLatin1Char('\n'))));
    QTRY_COMPARE_WITH_TIMEOUT(sim.flashed().size(), image.size(), EmulatorProcess::StartTimeoutMs);
    QVERIFY(sim.flashed() == image);
    QVERIFY(!window.form.port().isOpen());
    QVERIFY(buttonNamed(window.form, "Command1")->isEnabled() && buttonNamed(window.form, "Command2")->isEnabled() && comboNamed(window.form, "Combo1")->isEnabled());
}

void TestFirmwareUpdateE2e::silentDeviceIsGivenUp()
{
    QTemporaryDir dir;
    EmulatorProcess sim(dir.path(), {"--silent-after-block", "4"});
    QVERIFY(sim.ready);
    EmulatedWindow window(dir.path());
    window.form.firmware.stallTimeoutMs = TestStallTimeoutMs;
    window.chooseImage(writeImage(dir, imageBytes(30000)));

    buttonNamed(window.form, "Command2")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window.form.firmware.BlockIndex >= 5, UpdateTimeoutMs);
    QVERIFY(!buttonNamed(window.form, "Command2")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!window.form.firmware.updateInProgress, UpdateTimeoutMs);

    QCOMPARE(lastLine(window.form),
             QStringLiteral("The update did not finish: the device has not answered for 3 seconds. The device may "
                            "need the update again: restart the device, then press update."));
    QVERIFY(!window.form.port().isOpen());
    QVERIFY(buttonNamed(window.form, "Command1")->isEnabled() && buttonNamed(window.form, "Command2")->isEnabled() && comboNamed(window.form, "Combo1")->isEnabled());
    QCOMPARE(buttonNamed(window.form, "Command2")->text(), QStringLiteral("update"));
    QVERIFY(sim.flashed().isEmpty());
}

QTEST_MAIN(TestFirmwareUpdateE2e)
#include "tst_firmwareupdate_e2e.moc"
