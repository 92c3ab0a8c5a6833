#include "virtualhost.h"

#include <QTest>

using pelzosim::HangupPoint;
using pelzosim::Options;

class TestSimMisbehaviour : public QObject {
    Q_OBJECT

private slots:
    void shapedOutput_data();
    void shapedOutput();
    void hangupInPhase_data();
    void hangupInPhase();
};

void TestSimMisbehaviour::shapedOutput_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<bool>("sendReadEnd");
    QTest::addColumn<QByteArray>("noise");
    QTest::addColumn<int>("unterminated");
    QTest::addColumn<QByteArray>("expectedStart");
    QTest::addColumn<QByteArray>("expectedEnd");
    const QByteArray read = "AT+READ#\r\n";
    QTest::newRow("report without READ END") << read << false << QByteArray() << 0 << QByteArray("CALLSIGN:")
                                             << QByteArray("ALIAS:3\r\nVER:PELZO-SIM 1.0\r\n");
    QTest::newRow("NUL bytes after each line") << read << true << QByteArray(2, '\0') << 0
                                               << QByteArray("CALLSIGN:NOCALL-10\r\n\0\0PASS:", 27)
                                               << QByteArray("READ END\r\n\0\0", 12);
    QTest::newRow("report opened by an endless line") << read << true << QByteArray() << 40
                                                      << QByteArray(40, 'X') + "CALLSIGN:" << QByteArray("\r\nREAD END\r\n");
    QTest::newRow("endless line only before reports") << QByteArray("SETUP#\r\n") << true << QByteArray() << 40
                                                      << QByteArray("CONNECT\r\n") << QByteArray("CONNECT\r\n");
}

void TestSimMisbehaviour::shapedOutput()
{
    QFETCH(QByteArray, command);
    QFETCH(bool, sendReadEnd);
    QFETCH(QByteArray, noise);
    QFETCH(int, unterminated);
    QFETCH(QByteArray, expectedStart);
    QFETCH(QByteArray, expectedEnd);
    Options options;
    options.sendReadEnd = sendReadEnd;
    options.noiseAfterLine = noise;
    options.unterminatedLineBytes = unterminated;
    VirtualHost host(options);
    host.write(command);
    host.advance(0);
    const QByteArray received = host.takeReceived();
    QVERIFY2(received.startsWith(expectedStart), received.left(60).toHex(' '));
    QVERIFY2(received.endsWith(expectedEnd), received.right(60).toHex(' '));
    QCOMPARE(received.contains("READ END"), sendReadEnd && command.startsWith("AT+READ"));
    QCOMPARE(received.count("\r\n"), command.startsWith("AT+READ") ? 20 + int(sendReadEnd) : 1);
}

void TestSimMisbehaviour::hangupInPhase_data()
{
    QTest::addColumn<HangupPoint>("point");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("read") << HangupPoint::Read << QByteArray("AT+READ#\r\n");
    QTest::newRow("write") << HangupPoint::Write << QByteArray("AT+CALL,AB1-1#\r\n");
}

void TestSimMisbehaviour::hangupInPhase()
{
    QFETCH(HangupPoint, point);
    QFETCH(QByteArray, command);
    Options options;
    options.hangupIn = point;
    VirtualHost host(options);
    host.write("SETUP#\r\n");
    host.advance(10);
    QCOMPARE(host.takeReceived(), QByteArray("CONNECT\r\n"));
    QVERIFY(!host.hungUp);
    host.write(command);
    host.advance(10);
    QVERIFY(host.hungUp);
    QVERIFY(host.takeReceived().isEmpty());
    QCOMPARE(host.device.counters().configChanges, 0);
}

QTEST_GUILESS_MAIN(TestSimMisbehaviour)
#include "tst_simmisbehaviour.moc"
