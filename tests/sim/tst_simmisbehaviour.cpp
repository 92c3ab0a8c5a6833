#include "virtualhost.h"

#include <QTest>

using pelzosim::Field;
using pelzosim::HangupPoint;
using pelzosim::Options;

class TestSimMisbehaviour : public QObject {
    Q_OBJECT

private slots:
    void silentDeviceStillStoresSettings();
    void shapedOutput_data();
    void shapedOutput();
    void lateAnswer_data();
    void lateAnswer();
    void hangupAfterBytes_data();
    void hangupAfterBytes();
    void hangupInPhase_data();
    void hangupInPhase();
    void pacedInput_data();
    void pacedInput();
};

void TestSimMisbehaviour::silentDeviceStillStoresSettings()
{
    Options options;
    options.silent = true;
    VirtualHost host(options);
    host.write("SETUP#\r\nAT+FREQ,145.5000#\r\nAT+READ#\r\nREBOOT#\r\n\x5F");
    host.write(QByteArray("\x00\x00\xF5", 3));
    host.advance(10'000);
    QVERIFY(host.takeReceived().isEmpty());
    QCOMPARE(host.device.configuration().value(Field::Frequency), QByteArray("145.5000"));
    QCOMPARE(host.device.counters().connectRequests, 1);
}

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
    QTest::newRow("noise after a single line") << QByteArray("SETUP#\r\n") << true << QByteArray("~?\xff") << 0
                                               << QByteArray("CONNECT\r\n~?\xff") << QByteArray("\r\n~?\xff");
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

void TestSimMisbehaviour::lateAnswer_data()
{
    QTest::addColumn<qint64>("delayMs");
    QTest::addColumn<int>("pieceBytes");
    QTest::addColumn<qint64>("pauseMs");
    QTest::addColumn<QList<qint64>>("pieceTimes");
    QTest::newRow("at once") << qint64(0) << 0 << qint64(0) << QList<qint64>{100};
    QTest::newRow("late") << qint64(1500) << 0 << qint64(0) << QList<qint64>{1600};
    QTest::newRow("in pieces of 4 bytes") << qint64(0) << 4 << qint64(30) << QList<qint64>{100, 130, 160};
    QTest::newRow("late and in pieces") << qint64(250) << 8 << qint64(500) << QList<qint64>{350, 850};
}

void TestSimMisbehaviour::lateAnswer()
{
    QFETCH(qint64, delayMs);
    QFETCH(int, pieceBytes);
    QFETCH(qint64, pauseMs);
    QFETCH(QList<qint64>, pieceTimes);
    Options options;
    options.answerDelayMs = delayMs;
    options.pieceBytes = pieceBytes;
    options.piecePauseMs = pauseMs;
    VirtualHost host(options);
    host.nowMs = 100;
    host.write("SETUP#\r\n");
    host.advance(5000);
    QList<qint64> times;
    for (const VirtualHost::Chunk &chunk : host.chunks)
        times.append(chunk.atMs);
    QCOMPARE(times, pieceTimes);
    QCOMPARE(host.takeReceived(), QByteArray("CONNECT\r\n"));
}

void TestSimMisbehaviour::hangupAfterBytes_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::newRow("before the first byte") << qint64(0);
    QTest::newRow("inside the first answer") << qint64(4);
    QTest::newRow("inside the report") << qint64(100);
}

void TestSimMisbehaviour::hangupAfterBytes()
{
    QFETCH(qint64, limit);
    Options options;
    options.hangupAfterBytes = limit;
    VirtualHost host(options);
    host.write("SETUP#\r\nAT+READ#\r\n");
    host.advance(0);
    QVERIFY(host.hungUp);
    QVERIFY(host.device.linkDropped());
    const QByteArray received = host.takeReceived();
    const QByteArray unlimited = "CONNECT\r\nCALLSIGN:NOCALL-10\r\nPASS:27183\r\nDHCP:1\r\nIP:192,168,1,99\r\n"
                                 "MASK:255,255,255,0\r\nGATE:192,168,1,1\r\nDNS:8,8,8,8\r\n";
    QCOMPARE(received, unlimited.left(limit));
    host.write("SETUP#\r\nAT+FREQ,1#\r\n");
    host.advance(1000);
    QVERIFY(host.takeReceived().isEmpty());
    QCOMPARE(host.device.counters().fieldWrites, 0);
}

void TestSimMisbehaviour::hangupInPhase_data()
{
    QTest::addColumn<HangupPoint>("point");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("read") << HangupPoint::Read << QByteArray("AT+READ#\r\n");
    QTest::newRow("write") << HangupPoint::Write << QByteArray("AT+CALL,AB1-1#\r\n");
    QTest::newRow("wifi") << HangupPoint::Wifi << QByteArray("AT+WIFI,net,pw#\r\n");
    QTest::newRow("reset") << HangupPoint::Reset << QByteArray("AT+RESET#\r\n");
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

void TestSimMisbehaviour::pacedInput_data()
{
    QTest::addColumn<bool>("paced");
    QTest::addColumn<int>("leadingBytes");
    QTest::addColumn<qint64>("dueMs");
    QTest::newRow("not paced: at once") << false << 1000 << qint64(0);
    QTest::newRow("8 bytes end inside the first ms") << true << 0 << qint64(1);
    QTest::newRow("1008 bytes take 87.5 ms") << true << 1000 << qint64(88);
    QTest::newRow("1152 bytes take exactly 100 ms") << true << 1144 << qint64(100);
}

void TestSimMisbehaviour::pacedInput()
{
    QFETCH(bool, paced);
    QFETCH(int, leadingBytes);
    QFETCH(qint64, dueMs);
    Options options;
    options.paceInput = paced;
    VirtualHost host(options);
    QByteArray bytes = QByteArray(leadingBytes / 2, '\r') + QByteArray(leadingBytes / 2, '\n') + "SETUP#\r\n";
    host.write(bytes.left(bytes.size() / 2));
    host.nowMs += dueMs / 4;  // the second half is written while the first is still on the line
    host.write(bytes.mid(bytes.size() / 2));
    QCOMPARE(host.device.nextDueMs(), dueMs);
}

QTEST_GUILESS_MAIN(TestSimMisbehaviour)
#include "tst_simmisbehaviour.moc"
