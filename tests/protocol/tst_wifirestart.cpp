#include "exchangetesting.h"

#include "protocol/serialreceive.h"

#include <QPushButton>
#include <QTest>

using namespace pelzo;

namespace {

const QByteArray Reboot = "REBOOT#\r\n";
const QByteArray WifiCommand = "AT+WIFI,HamNet,s3cret#\r\n";

struct Fixture : ExchangeFixture
{
    Fixture()
    {
        editNamed(form, "Text34")->setText(QStringLiteral("HamNet"));
        editNamed(form, "Text33")->setText(QStringLiteral("s3cret"));
    }

    void apply() { buttonNamed(form, "Command8")->click(); }
    void restart() { buttonNamed(form, "Command9")->click(); }
    void read() { buttonNamed(form, "Command6")->click(); }
};

} // namespace

class TestWifiRestart : public QObject
{
    Q_OBJECT

private slots:
    void wifiOutcome_data();
    void wifiOutcome();
    void applyWhilePortOpenStopsTheOtherExchange();
    void applyDuringReadCancelsTheRead();
    void applyWithPortThatWillNotOpen();
    void applyWhosePortWasTakenDuringItsFirstWait();
    void restartSendsTwoCommands();
    void restartWhilePortOpenOnlyCloses();
    void restartFailure_data();
    void restartFailure();
};

void TestWifiRestart::wifiOutcome_data()
{
    QTest::addColumn<qint64>("answerDelayMs");
    QTest::addColumn<bool>("earlierConfirmation");
    QTest::addColumn<int>("confirmedInPoll");

    // The polls start with the command; each lasts 800 ms.
    const auto inPoll = [](int poll) { return qint64(800 * (poll - 1) + 400); };
    QTest::newRow("confirmed in poll 16") << inPoll(16) << false << 16;
    QTest::newRow("never confirmed") << qint64(-1) << false << 0;
    QTest::newRow("a confirmation seen earlier does not count") << qint64(-1) << true << 0;
}

void TestWifiRestart::wifiOutcome()
{
    QFETCH(qint64, answerDelayMs);
    QFETCH(bool, earlierConfirmation);
    QFETCH(int, confirmedInPoll);

    Fixture fx;
    pelzosim::Options options;
    options.silent = answerDelayMs < 0;
    options.answerDelayMs = std::max<qint64>(answerDelayMs, 0);
    const SimPeer &device = fx.useEmulator(options);
    if (earlierConfirmation)
        receiveBytes(fx.form, "WIFI Write success\r\n");
    fx.apply();

    const qint64 sentAt = waited(200);
    QByteArrayList texts{WifiCommand};
    QList<qint64> times{sentAt};
    QString log = QStringLiteral("WIFI Writing.....\r\n");
    if (confirmedInPoll > 0) {
        texts << Reboot;
        times << sentAt + confirmedInPoll * waited(800);
        log += QStringLiteral("WIFI Write complete\r\nWIFI reset...\r\n");
    } else {
        log += QStringLiteral("WIFI Write Fail\r\n");
    }
    QCOMPARE(writtenTexts(fx.platform.port()), texts);
    QCOMPARE(writeTimes(fx.platform.port()), times);
    QCOMPARE(fx.form.activityLog(), log);
    QCOMPARE(fx.form.WifiSuccessSeen, 0);
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command8")->text(), QStringLiteral("Apply"));
    QVERIFY(fx.platform.messageBoxes.isEmpty());
    QCOMPARE(device.device.configuration().wifiSsid, QByteArray("HamNet"));
    QCOMPARE(device.device.configuration().wifiPassword, QByteArray("s3cret"));
    QCOMPARE(device.device.phase() == pelzosim::Phase::Bootloader, confirmedInPoll > 0);
}

void TestWifiRestart::applyWhilePortOpenStopsTheOtherExchange()
{
    Fixture fx;
    QVERIFY(fx.platform.port().open());
    fx.apply();

    QVERIFY(fx.platform.port().writes().isEmpty());
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("Port is open"));
    QCOMPARE(buttonNamed(fx.form, "Command8")->text(), QStringLiteral("Apply"));
    QCOMPARE(fx.platform.messageBoxes.size(), 1);
    QCOMPARE(fx.platform.messageBoxes[0].text, QStringLiteral("Port is open or no"));
}

void TestWifiRestart::applyDuringReadCancelsTheRead()
{
    Fixture fx;
    fx.platform.at(1500, [&] { fx.apply(); });
    fx.read();

    QCOMPARE(editNamed(fx.form, "Text3")->text(), QStringLiteral("test fail"));
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("Port is open"));
    for (const auto &write : fx.platform.port().writes())
        QVERIFY(write.atMs < 1500);
    // One box from Apply's guard, one from the read meeting the closed port.
    QCOMPARE(fx.platform.messageBoxes.size(), 2);
    QCOMPARE(fx.platform.messageBoxes[1].atMs, waited(100) + 2 * waited(1000));
    QVERIFY(!fx.platform.port().isOpen());
}

void TestWifiRestart::applyWithPortThatWillNotOpen()
{
    Fixture fx;
    fx.platform.port().setOpenable({});
    fx.apply();

    QVERIFY(fx.platform.port().writes().isEmpty());
    QCOMPARE(fx.platform.messageBoxes.size(), 1);
    QCOMPARE(fx.platform.messageBoxes[0].text, QStringLiteral("Port is open or no"));
    QVERIFY(!fx.platform.messageBoxes[0].detail.isEmpty());
    QCOMPARE(buttonNamed(fx.form, "Command8")->text(), QStringLiteral("Apply"));
}

void TestWifiRestart::applyWhosePortWasTakenDuringItsFirstWait()
{
    Fixture fx;
    fx.platform.at(100, [&] { fx.restart(); });
    fx.apply();

    QVERIFY(fx.platform.port().writes().isEmpty());
    QCOMPARE(buttonNamed(fx.form, "Command8")->text(), QStringLiteral("Apply"));
    QCOMPARE(buttonNamed(fx.form, "Command9")->text(), QStringLiteral("Port is open"));
    QVERIFY(fx.platform.messageBoxes.isEmpty());
}

void TestWifiRestart::restartSendsTwoCommands()
{
    Fixture fx;
    fx.form.setActivityLog(QStringLiteral("kept"));
    fx.platform.runUntil(1000);
    fx.restart();

    QCOMPARE(writtenTexts(fx.platform.port()), (QByteArrayList{Reboot, Reboot}));
    const qint64 first = 1000 + waited(100);
    QCOMPARE(writeTimes(fx.platform.port()), (QList<qint64>{first, first + waited(500)}));
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command9")->text(), QStringLiteral("restart"));
    QCOMPARE(fx.form.activityLog(), QStringLiteral("kept"));
    QVERIFY(fx.platform.messageBoxes.isEmpty());
}

void TestWifiRestart::restartWhilePortOpenOnlyCloses()
{
    Fixture fx;
    QVERIFY(fx.platform.port().open());
    fx.restart();

    QVERIFY(fx.platform.port().writes().isEmpty());
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command9")->text(), QStringLiteral("Port is open"));
    QVERIFY(fx.platform.messageBoxes.isEmpty());

    fx.restart();
    QCOMPARE(writtenTexts(fx.platform.port()), (QByteArrayList{Reboot, Reboot}));
    QCOMPARE(buttonNamed(fx.form, "Command9")->text(), QStringLiteral("restart"));
}

void TestWifiRestart::restartFailure_data()
{
    QTest::addColumn<bool>("portOpens");
    QTest::addColumn<qint64>("deviceGoneAtMs");
    QTest::addColumn<int>("sent");

    QTest::newRow("port will not open") << false << qint64(-1) << 0;
    QTest::newRow("device gone between the two commands") << true << qint64(300) << 1;
}

void TestWifiRestart::restartFailure()
{
    QFETCH(bool, portOpens);
    QFETCH(qint64, deviceGoneAtMs);
    QFETCH(int, sent);

    Fixture fx;
    fx.platform.port().setHeldElsewhere(1, !portOpens);
    if (deviceGoneAtMs >= 0)
        fx.device.hangUpAt(deviceGoneAtMs);
    fx.restart();

    QCOMPARE(fx.platform.port().writes().size(), sent);
    QCOMPARE(fx.platform.messageBoxes.size(), 1);
    QCOMPARE(fx.platform.messageBoxes[0].text, QStringLiteral("Port is open or no"));
    QVERIFY(!fx.platform.messageBoxes[0].detail.isEmpty());
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command9")->text(), QStringLiteral("restart"));

    // The program goes on: once the port is free a restart works.
    fx.platform.port().setHeldElsewhere(1, false);
    fx.restart();
    QCOMPARE(fx.platform.port().writes().size(), sent + 2);
}

QTEST_MAIN(TestWifiRestart)
#include "tst_wifirestart.moc"
