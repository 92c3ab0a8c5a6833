#include "exchangetesting.h"
#include "pacedserialport.h"

#include <QPushButton>
#include <QTest>

using namespace pelzo;

namespace {

const QString UpdateRunning =
    QStringLiteral("\r\nA firmware update is using the port: wait until it has finished, then try again.");

QPushButton *button(Form1 &form, const QString &name)
{
    return form.control<QPushButton>(name.toLatin1().constData());
}

} // namespace

class TestExchangePort : public QObject
{
    Q_OBJECT

private slots:
    void firmwareUpdateKeepsThePort_data();
    void firmwareUpdateKeepsThePort();
    void cancelledReadLeavesAnUpdateThatTookThePortAlone();
    void lastBytesLeaveBeforeThePortCloses_data();
    void lastBytesLeaveBeforeThePortCloses();
    void stalledPortIsClosedAfterABoundedWait();
};

void TestExchangePort::firmwareUpdateKeepsThePort_data()
{
    QTest::addColumn<QString>("buttonName");

    QTest::newRow("Read data") << QStringLiteral("Command6");
    QTest::newRow("Write data") << QStringLiteral("Command7");
    QTest::newRow("Apply") << QStringLiteral("Command8");
    QTest::newRow("restart") << QStringLiteral("Command9");
}

void TestExchangePort::firmwareUpdateKeepsThePort()
{
    QFETCH(QString, buttonName);

    FormFixture fx;
    QVERIFY(fx.platform.port().open());
    fx.form.firmware.updateInProgress = true;
    buttonNamed(fx.form, "Command7")->setEnabled(true);
    editNamed(fx.form, "Text4")->setText(QStringLiteral("BH4XYZ"));
    fx.form.setActivityLog(QStringLiteral("Block 12/40"));
    const QStringList captions{buttonNamed(fx.form, "Command6")->text(), buttonNamed(fx.form, "Command7")->text(), buttonNamed(fx.form, "Command8")->text(),
                               buttonNamed(fx.form, "Command9")->text()};
    fx.platform.runUntil(1000);
    button(fx.form, buttonName)->click();
    fx.platform.runUntil(20000);

    QVERIFY(fx.platform.port().isOpen());
    QVERIFY(fx.platform.port().writes().isEmpty());
    QCOMPARE(fx.form.activityLog(), QStringLiteral("Block 12/40") + UpdateRunning);
    QCOMPARE((QStringList{buttonNamed(fx.form, "Command6")->text(), buttonNamed(fx.form, "Command7")->text(), buttonNamed(fx.form, "Command8")->text(),
                          buttonNamed(fx.form, "Command9")->text()}),
             captions);
    QCOMPARE(fx.form.fieldText(Field::Callsign), QStringLiteral("BH4XYZ"));
    QVERIFY(fx.platform.messageBoxes.isEmpty());
}

void TestExchangePort::cancelledReadLeavesAnUpdateThatTookThePortAlone()
{
    FormFixture fx;
    // A second click cancels the read; the update opens the freed port before the read wakes up.
    fx.platform.at(2500, [&] { buttonNamed(fx.form, "Command6")->click(); });
    fx.platform.at(2600, [&] {
        QVERIFY(fx.platform.port().open());
        fx.form.firmware.updateInProgress = true;
    });
    buttonNamed(fx.form, "Command6")->click();

    QVERIFY(fx.platform.port().isOpen());
    for (const auto &write : fx.platform.port().writes())
        QVERIFY(write.atMs < 2500);
    QCOMPARE(fx.platform.messageBoxes.size(), 1);
    QCOMPARE(fx.platform.messageBoxes[0].text, QStringLiteral("Port is open or no"));
    QVERIFY(fx.platform.messageBoxes[0].detail.contains(QStringLiteral("firmware update")));
}

void TestExchangePort::lastBytesLeaveBeforeThePortCloses_data()
{
    QTest::addColumn<QString>("buttonName");

    QTest::newRow("restart") << QStringLiteral("Command9");
    QTest::newRow("Apply, confirmed") << QStringLiteral("Command8");
}

void TestExchangePort::lastBytesLeaveBeforeThePortCloses()
{
    QFETCH(QString, buttonName);

    PacedFormFixture fx;
    ScriptedPeer device;
    device.on("AT+WIFI,", "WIFI Write success\r\n");
    fx.platform.port().attachPeer(&device);
    button(fx.form, buttonName)->click();

    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(writtenTexts(fx.platform.port()).last(), QByteArray("REBOOT#\r\n"));
    QCOMPARE(fx.platform.paced.closes.size(), 1);
    QCOMPARE(fx.platform.paced.closes[0].unsentBytes, 0);
    QVERIFY(fx.platform.messageBoxes.isEmpty());
}

void TestExchangePort::stalledPortIsClosedAfterABoundedWait()
{
    PacedFormFixture fx;
    fx.platform.paced.stall();
    // The window keeps handling events while the close waits for the line.
    bool ranMeanwhile = false;
    const qint64 lastWrite = waited(100) + waited(500);
    fx.platform.at(lastWrite + 200, [&] { ranMeanwhile = fx.platform.port().isOpen(); });
    buttonNamed(fx.form, "Command9")->click();

    QVERIFY(ranMeanwhile);
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command9")->text(), QStringLiteral("restart"));
    QCOMPARE(fx.platform.paced.closes.size(), 1);
    QVERIFY(fx.platform.paced.closes[0].atMs > lastWrite + 200);
    QVERIFY(fx.platform.paced.closes[0].atMs <= lastWrite + 2000);
}

QTEST_MAIN(TestExchangePort)
#include "tst_exchangeport.moc"
