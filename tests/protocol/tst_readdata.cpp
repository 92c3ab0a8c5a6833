#include "exchangetesting.h"

#include "serial/portsettingsstore.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace pelzo;

namespace {

const QByteArray Probe = "\r\nSETUP#\r\n";
const QByteArray Request = "AT+READ#\r\n";
const QString Incomplete = QStringLiteral(
    "The device did not send its whole configuration: the fields may be incomplete. Read again before writing.");

const QByteArray Report = "CALLSIGN:BH4XYZ-7\r\n"
                          "PASS:12345\r\n"
                          "COMMENT TEXT:hello\r\n"
                          "FREQ:144.3900\r\n";

struct ReadFixture : ExchangeFixture
{
    ReadFixture() { comboNamed(form, "Combo1")->setEditText(QStringLiteral("COM1")); }

    void read() { buttonNamed(form, "Command6")->click(); }
    int count(const QByteArray &text) { return writtenTexts(platform.port()).count(text); }
};

} // namespace

class TestReadData : public QObject
{
    Q_OBJECT

private slots:
    void deviceAnsweringAtOnce_data();
    void deviceAnsweringAtOnce();
    void reportInPiecesIsAssembled();
    void deviceThatNeverConnectsIsStillAskedForItsReport();
    void readWithoutEndMarkerSaysSo();
    void secondClickCancelsTheRead();
    void portThatWillNotOpen();
    void deviceGoneDuringTheRequests();
    void portListNameIsRecorded_data();
    void portListNameIsRecorded();
};

void TestReadData::deviceAnsweringAtOnce_data()
{
    QTest::addColumn<QByteArray>("lineBefore");

    // A settings-file load leaves its last line, without line end, behind.
    QTest::newRow("after a settings-file load") << QByteArray("ALIAS:3");
}

void TestReadData::deviceAnsweringAtOnce()
{
    QFETCH(QByteArray, lineBefore);

    ReadFixture fx;
    fx.form.LineBuffer = lineBefore;
    fx.useEmulator();
    fx.read();

    const qint64 firstProbe = waited(100);
    const qint64 secondProbe = firstProbe + waited(1000);
    QCOMPARE(writtenTexts(fx.platform.port()), (QByteArrayList{Probe, Probe, Request}));
    QCOMPARE(writeTimes(fx.platform.port()), (QList<qint64>{firstProbe, secondProbe, secondProbe}));
    QCOMPARE(fx.form.activityLog(), QStringLiteral("Connection OK\r\nReading 1/20Times......\r\nread ok"));
    QCOMPARE(editNamed(fx.form, "Text3")->text(), QStringLiteral("Connection is successful\r\n"));
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("read data"));
    QVERIFY(buttonNamed(fx.form, "Command7")->isEnabled());
    QVERIFY(!fx.platform.port().isOpen());
    QVERIFY(fx.platform.messageBoxes.isEmpty());

    // Parsing is tested line by line elsewhere; here the report reached the window.
    QCOMPARE(fx.form.fieldText(Field::Callsign), QStringLiteral("NOCALL"));
    QCOMPARE(fx.form.fieldText(Field::DeviceVersion), QStringLiteral("PELZO-SIM 1.0"));
    QCOMPARE(fx.form.octets(Field::DnsServer), (QStringList{"8", "8", "8", "8"}));
}

void TestReadData::reportInPiecesIsAssembled()
{
    ReadFixture fx;
    fx.device.on("SETUP#", "CONNECT\r\n");
    const qint64 firstRequest = waited(100) + waited(1000);
    const qsizetype cut = Report.indexOf("hello") + 3;
    fx.device.sendAt(firstRequest + 400, Report.left(cut));
    fx.device.sendAt(firstRequest + waited(1000) + 400, Report.mid(cut) + "READ END\r\n");
    fx.read();

    QCOMPARE(fx.count(Request), 2);
    QCOMPARE(fx.form.activityLog(), QStringLiteral("Connection OK\r\nReading 2/20Times......\r\nread ok"));
    QCOMPARE(fx.form.fieldText(Field::Comment), QStringLiteral("hello"));
    QCOMPARE(fx.form.fieldText(Field::Frequency), QStringLiteral("144.3900"));
}

void TestReadData::deviceThatNeverConnectsIsStillAskedForItsReport()
{
    ReadFixture fx;
    fx.device.on("AT+READ#", Report + "READ END\r\n");
    fx.read();

    QCOMPARE(fx.count(Probe), 20);
    QCOMPARE(fx.count(Request), 1);
    QCOMPARE(writtenTexts(fx.platform.port()).last(), Request);
    QCOMPARE(editNamed(fx.form, "Text3")->text(), QStringLiteral("0/10"));
    QVERIFY(fx.form.activityLog().endsWith(QStringLiteral("\r\nread ok")));
    QCOMPARE(fx.form.fieldText(Field::Passcode), QStringLiteral("12345"));
}

void TestReadData::readWithoutEndMarkerSaysSo()
{
    ReadFixture fx;
    fx.device.on("SETUP#", "CONNECT\r\n");
    // Every answer breaks off inside a line.
    fx.device.on("AT+READ#", "CALLSIGN:BH4XYZ-7\r\nCOMMENT TEXT:hal");
    fx.read();

    QCOMPARE(fx.count(Request), 20);
    QCOMPARE(fx.form.activityLog(), QStringLiteral("Connection OK\r\nReading 20/20Times......\r\n") + Incomplete);
    QVERIFY(fx.form.LineBuffer.isEmpty());
    QVERIFY(buttonNamed(fx.form, "Command7")->isEnabled());
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("read data"));
    QVERIFY(!fx.platform.port().isOpen());
    QVERIFY(fx.platform.messageBoxes.isEmpty());
}

void TestReadData::secondClickCancelsTheRead()
{
    ReadFixture fx;
    buttonNamed(fx.form, "Command7")->setEnabled(false);
    const qint64 click = 2500;
    fx.platform.at(click, [&] {
        editNamed(fx.form, "Text4")->setText(QStringLiteral("TYPED"));
        fx.read();
    });
    fx.read();

    // The probes before the click, then nothing: the cancelled read meets the closed port.
    const QList<qint64> probes{waited(100), waited(100) + waited(1000), waited(100) + 2 * waited(1000)};
    QCOMPARE(writeTimes(fx.platform.port()), probes);
    QCOMPARE(fx.form.fieldText(Field::Callsign), QString());
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("Port is open"));
    QVERIFY(buttonNamed(fx.form, "Command7")->isEnabled());
    QCOMPARE(editNamed(fx.form, "Text3")->text(), QStringLiteral("test fail"));
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(fx.platform.messageBoxes.size(), 1);
    QCOMPARE(fx.platform.messageBoxes[0].text, QStringLiteral("Port is open or no"));
    QCOMPARE(fx.platform.messageBoxes[0].atMs, waited(100) + 3 * waited(1000));
}

void TestReadData::portThatWillNotOpen()
{
    ReadFixture fx;
    fx.platform.port().setHeldElsewhere(1, true);
    buttonNamed(fx.form, "Command7")->setEnabled(true);
    fx.read();

    QVERIFY(fx.platform.port().writes().isEmpty());
    QCOMPARE(fx.platform.messageBoxes.size(), 1);
    QCOMPARE(fx.platform.messageBoxes[0].text, QStringLiteral("Port is open or no"));
    QVERIFY(fx.platform.messageBoxes[0].detail.contains(QStringLiteral("locking")));
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("read data"));
    QVERIFY(!buttonNamed(fx.form, "Command7")->isEnabled());
    QVERIFY(!QFile::exists(portSettingsPath(fx.platform)));
}

// The device vanishes after its connect answer: the read fails at its next
// request and must not go on showing "reading".
void TestReadData::deviceGoneDuringTheRequests()
{
    ReadFixture fx;
    fx.device.on("SETUP#", "CONNECT\r\n");
    fx.device.on("AT+READ#", "CALLSIGN:BH4XYZ-7\r\n");
    fx.device.hangUpAt(2500);
    fx.read();

    // Requests at 1102 and 2103 ms went out; the third finds the port closed.
    QCOMPARE(fx.count(Request), 2);
    QCOMPARE(fx.platform.messageBoxes.size(), 1);
    QCOMPARE(fx.platform.messageBoxes[0].text, QStringLiteral("Port is open or no"));
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("read data"));
    QVERIFY(!buttonNamed(fx.form, "Command7")->isEnabled());
    QVERIFY(!fx.platform.port().isOpen());
}

void TestReadData::portListNameIsRecorded_data()
{
    QTest::addColumn<QString>("listText");
    QTest::addColumn<QString>("recorded");

    QTest::newRow("COM3 as it is") << QStringLiteral("COM3") << QStringLiteral("COM3");
    QTest::newRow("a name not beginning with COM becomes COM1") << QStringLiteral("Combo1")
                                                               << QStringLiteral("COM1");
}

void TestReadData::portListNameIsRecorded()
{
    QFETCH(QString, listText);
    QFETCH(QString, recorded);

    ReadFixture fx;
    QVERIFY(fx.platform.port().setCommPort(2));
    comboNamed(fx.form, "Combo1")->setEditText(listText);
    fx.device.on("SETUP#", "CONNECT\r\n");
    fx.device.on("AT+READ#", "READ END\r\n");
    fx.read();

    QCOMPARE(comboNamed(fx.form, "Combo1")->currentText(), recorded);
    QCOMPARE(fx.platform.port().writes().first().port, 2);
    const QString path = portSettingsPath(fx.platform);
    const QList<std::pair<QString, QString>> keys{{"par5", recorded}, {"par4", "115200"}, {"par1", "1"},
                                                  {"par3", "n"},      {"par2", "8"},      {"par0", "0"},
                                                  {"InBuff", "2048"}, {"OutBuff", "2048"}};
    for (const auto &[key, value] : keys)
        QCOMPARE(ReadINI(QStringLiteral("QTNComm"), key, path), value);
    QCOMPARE(fx.platform.port().settings(), QStringLiteral("115200,n,8,1"));
}

QTEST_MAIN(TestReadData)
#include "tst_readdata.moc"
