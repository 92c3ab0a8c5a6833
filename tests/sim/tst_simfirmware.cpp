#include "virtualhost.h"

#include <QTest>

namespace {

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
    void wifiCredentials_data();
    void wifiCredentials();
    void bootloaderChecksEachFrame_data();
    void bootloaderChecksEachFrame();
};

void TestSimFirmware::answersAtOnce_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("probe") << QByteArray("\r\nSETUP#\r\n") << QByteArray("CONNECT\r\n");
    QTest::newRow("other settings unanswered") << QByteArray("AT+CALL,N0CALL-7#\r\n") << QByteArray();
    QTest::newRow("unknown command ignored") << QByteArray("AT+FOO,1#\r\n") << QByteArray();
    QTest::newRow("lower case probe ignored") << QByteArray("setup#\r\n") << QByteArray();
    QTest::newRow("command without # ignored") << QByteArray("AT+FREQ,145\r\n") << QByteArray();
    QTest::newRow("wifi without comma ignored") << QByteArray("AT+WIFI,home#\r\n") << QByteArray();
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
    for (int size : {1, 7})
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

void TestSimFirmware::wifiCredentials_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("ssid");
    QTest::addColumn<QByteArray>("password");
    QTest::newRow("plain") << QByteArray("home,secret") << QByteArray("home") << QByteArray("secret");
    QTest::newRow("comma stays in password") << QByteArray("home,pa,ss") << QByteArray("home") << QByteArray("pa,ss");
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

// The firmware tests flash only well-formed frames; this is the one place a bad
// frame reaches the emulated bootloader.
void TestSimFirmware::bootloaderChecksEachFrame_data()
{
    QTest::addColumn<bool>("rightCheck");
    QTest::newRow("right check byte: flashed") << true;
    QTest::newRow("wrong check byte: refused, nothing flashed") << false;
}

void TestSimFirmware::bootloaderChecksEachFrame()
{
    QFETCH(bool, rightCheck);
    const QByteArray image(100, '\x3C');
    QByteArray frame = image + QByteArray(2048 - image.size(), '\xFF');
    char check = 0;
    for (char byte : std::as_const(frame))
        check ^= byte;
    frame += rightCheck ? check : char(~check);
    VirtualHost host;
    host.write("REBOOT#\r\n");
    host.write(QByteArray("\x5F\x00\x00\xF5", 4));
    host.advance(0);
    QCOMPARE(host.takeReceived(), QByteArray("\xE5"));
    host.write(QByteArray("\x5E\x00\x64\x00\xE5", 5));
    host.advance(0);
    QCOMPARE(host.takeReceived(), QByteArray("\xC5"));
    host.write(frame);
    host.advance(1000);
    QCOMPARE(host.device.flashedImage(), rightCheck ? image : QByteArray());
    QCOMPARE(host.device.transfer().stage, rightCheck ? pelzosim::BootStage::Complete : pelzosim::BootStage::Failed);
}

QTEST_GUILESS_MAIN(TestSimFirmware)
#include "tst_simfirmware.moc"
