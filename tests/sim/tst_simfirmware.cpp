#include "virtualhost.h"

#include <QTest>

using pelzosim::Configuration;
using pelzosim::Field;

namespace {

const QByteArray kFactoryReport =
    "CALLSIGN:NOCALL-10\r\nPASS:27183\r\nDHCP:1\r\nIP:192,168,1,99\r\nMASK:255,255,255,0\r\n"
    "GATE:192,168,1,1\r\nDNS:8,8,8,8\r\nPOSITION:!3035.00N/11417.00ErPHG1010\r\n"
    "COMMENT TEXT:PELZO 144.640MHz\r\nSERVER:rotate.aprs2.net\r\nSENT TIME:0600\r\nFILTER:b/PELZO\r\n"
    "BACKLIGHT:00\r\nFREQ:144.6400\r\nUNIT:1\r\nDIGI:1\r\nMOD:3\r\nPATH:1\r\nALIAS:3\r\n"
    "VER:PELZO-SIM 1.0\r\nREAD END\r\n";

// The report alone, whatever the device had still to send before it.
QByteArray readReport(VirtualHost &host)
{
    host.advance(0);
    host.takeReceived();
    host.write("AT+READ#\r\n");
    host.advance(0);
    return host.takeReceived();
}

} // namespace

class TestSimFirmware : public QObject {
    Q_OBJECT

private slots:
    void answersAtOnce_data();
    void answersAtOnce();
    void commandsSurviveAnySplit_data();
    void commandsSurviveAnySplit();
    void factoryReport();
    void settingRoundTrip_data();
    void settingRoundTrip();
    void wifiCredentials_data();
    void wifiCredentials();
    void resetRestoresFactory();
};

void TestSimFirmware::answersAtOnce_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("probe") << QByteArray("\r\nSETUP#\r\n") << QByteArray("CONNECT\r\n");
    QTest::newRow("frequency confirmed") << QByteArray("\r\nAT+FREQ,145.0000#\r\n") << QByteArray("freq save\r\n");
    QTest::newRow("wifi confirmed") << QByteArray("AT+WIFI,home,secret#\r\n") << QByteArray("WIFI Write success\r\n");
    QTest::newRow("reset confirmed") << QByteArray("AT+RESET#\r\n") << QByteArray("eeram reset\r\n");
    QTest::newRow("other settings unanswered") << QByteArray("AT+CALL,N0CALL-7#\r\n") << QByteArray();
    QTest::newRow("unknown command ignored") << QByteArray("AT+FOO,1#\r\n") << QByteArray();
    QTest::newRow("lower case probe ignored") << QByteArray("setup#\r\n") << QByteArray();
    QTest::newRow("command without # ignored") << QByteArray("AT+FREQ,145\r\n") << QByteArray();
    QTest::newRow("wifi without comma ignored") << QByteArray("AT+WIFI,home#\r\n") << QByteArray();
    QTest::newRow("two commands in one write") << QByteArray("SETUP#\r\nAT+FREQ,1#\r\n")
                                               << QByteArray("CONNECT\r\nfreq save\r\n");
    QTest::newRow("line feed alone ends a line") << QByteArray("SETUP#\n") << QByteArray("CONNECT\r\n");
    QTest::newRow("overlong line dropped, next kept") << QByteArray(600, 'A') + "SETUP#\r\nSETUP#\r\n"
                                                      << QByteArray("CONNECT\r\n");
}

void TestSimFirmware::answersAtOnce()
{
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, answer);
    VirtualHost host;
    host.nowMs = 1234;
    host.write(sent);
    QCOMPARE(host.device.takeDue(host.nowMs).bytes, answer);
    QCOMPARE(host.device.nextDueMs(), std::nullopt);
}

void TestSimFirmware::commandsSurviveAnySplit_data()
{
    QTest::addColumn<int>("chunkBytes");
    for (int size : {1, 2, 3, 7, 64})
        QTest::addRow("chunks of %d bytes", size) << size;
}

void TestSimFirmware::commandsSurviveAnySplit()
{
    QFETCH(int, chunkBytes);
    const QByteArray session = "\r\nSETUP#\r\n\r\n\r\nAT+CALL,AB1   -15#\r\n\r\n\r\nAT+FREQ,430.1000#\r\nAT+READ#\r\n";
    VirtualHost whole;
    whole.write(session);
    whole.advance(0);
    VirtualHost split;
    for (qsizetype offset = 0; offset < session.size(); offset += chunkBytes) {
        split.write(session.mid(offset, chunkBytes));
        split.advance(1);
    }
    const QByteArray answer = split.takeReceived();
    QCOMPARE(answer, whole.takeReceived());
    QVERIFY(answer.startsWith("CONNECT\r\nfreq save\r\nCALLSIGN:AB1   -15\r\n"));
    QVERIFY(answer.contains("\r\nFREQ:430.1000\r\n"));
    QCOMPARE(split.device.counters().ignoredLines, 0);
}

void TestSimFirmware::factoryReport()
{
    VirtualHost host;
    QCOMPARE(readReport(host), kFactoryReport);
}

void TestSimFirmware::settingRoundTrip_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reportLine");
    QTest::newRow("callsign keeps padding") << QByteArray("AT+CALL,TEST  -7#") << QByteArray("CALLSIGN:TEST  -7");
    QTest::newRow("passcode") << QByteArray("AT+PASS,12345#") << QByteArray("PASS:12345");
    QTest::newRow("static address") << QByteArray("AT+DHCP,0#") << QByteArray("DHCP:0");
    QTest::newRow("ip") << QByteArray("AT+IP,10,0,0,2#") << QByteArray("IP:10,0,0,2");
    QTest::newRow("mask from SUB") << QByteArray("AT+SUB,255,0,0,0#") << QByteArray("MASK:255,0,0,0");
    QTest::newRow("gateway from GW") << QByteArray("AT+GW,10,0,0,1#") << QByteArray("GATE:10,0,0,1");
    QTest::newRow("dns") << QByteArray("AT+DNS,1,1,1,1#") << QByteArray("DNS:1,1,1,1");
    QTest::newRow("position from POSI") << QByteArray("AT+POSI,!5000.00N/00800.00E-#")
                                        << QByteArray("POSITION:!5000.00N/00800.00E-");
    QTest::newRow("comment UTF-8 unchanged") << QByteArray("AT+COMMENT,公里 über#") << QByteArray("COMMENT TEXT:公里 über");
    QTest::newRow("comment with inner #") << QByteArray("AT+COMMENT,a#b#") << QByteArray("COMMENT TEXT:a#b");
    QTest::newRow("server") << QByteArray("AT+SERVER,euro.aprs2.net#") << QByteArray("SERVER:euro.aprs2.net");
    QTest::newRow("send time from TIME") << QByteArray("AT+TIME,600#") << QByteArray("SENT TIME:600");
    QTest::newRow("filter") << QByteArray("AT+FILTER,r/50/8/100#") << QByteArray("FILTER:r/50/8/100");
    QTest::newRow("backlight") << QByteArray("AT+BACKLIGHT,05#") << QByteArray("BACKLIGHT:05");
    QTest::newRow("frequency") << QByteArray("AT+FREQ,144.8000#") << QByteArray("FREQ:144.8000");
    QTest::newRow("unit") << QByteArray("AT+UNIT,3#") << QByteArray("UNIT:3");
    QTest::newRow("digi off") << QByteArray("AT+DIGI,0#") << QByteArray("DIGI:0");
    QTest::newRow("tx level from MOD") << QByteArray("AT+MOD,5#") << QByteArray("MOD:5");
    QTest::newRow("path") << QByteArray("AT+PATH,0#") << QByteArray("PATH:0");
    QTest::newRow("alias") << QByteArray("AT+ALIAS,2#") << QByteArray("ALIAS:2");
    QTest::newRow("empty value") << QByteArray("AT+POSI,#") << QByteArray("POSITION:");
}

void TestSimFirmware::settingRoundTrip()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reportLine);
    VirtualHost host;
    host.write(command + "\r\n");
    const QByteArray report = readReport(host);
    QVERIFY2(report.contains("\n" + reportLine + "\r\n") || report.startsWith(reportLine + "\r\n"), report);
    QCOMPARE(report.count('\n'), kFactoryReport.count('\n'));
    QCOMPARE(host.device.counters().configChanges, 1);
}

void TestSimFirmware::wifiCredentials_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("ssid");
    QTest::addColumn<QByteArray>("password");
    QTest::newRow("plain") << QByteArray("home,secret") << QByteArray("home") << QByteArray("secret");
    QTest::newRow("comma stays in password") << QByteArray("home,pa,ss") << QByteArray("home") << QByteArray("pa,ss");
    QTest::newRow("hash stays in password") << QByteArray("home,pa#ss") << QByteArray("home") << QByteArray("pa#ss");
    QTest::newRow("both empty") << QByteArray(",") << QByteArray() << QByteArray();
}

void TestSimFirmware::wifiCredentials()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, ssid);
    QFETCH(QByteArray, password);
    VirtualHost host;
    host.write("AT+WIFI," + value + "#\r\n");
    QCOMPARE(host.device.configuration().wifiSsid, ssid);
    QCOMPARE(host.device.configuration().wifiPassword, password);
    QVERIFY(!readReport(host).contains("WIFI"));
}

void TestSimFirmware::resetRestoresFactory()
{
    VirtualHost host;
    host.write("AT+CALL,XX1XX-1#\r\nAT+DIGI,0#\r\nAT+WIFI,net,pw#\r\n");
    QVERIFY(host.device.configuration() != Configuration::factory());
    host.write("AT+RESET#\r\n");
    QCOMPARE(host.device.configuration(), Configuration::factory());
    QCOMPARE(host.device.configuration().value(Field::Callsign), QByteArray("NOCALL-10"));
    QCOMPARE(readReport(host), kFactoryReport);
}

QTEST_GUILESS_MAIN(TestSimFirmware)
#include "tst_simfirmware.moc"
