#include "formfixture.h"
#include "scriptedpeer.h"
#include "protocol/serialreceive.h"
#include "serial/receivepath.h"

#include <QTest>

using namespace pelzo;

namespace {

int connectOkCount(const Form1 &form)
{
    return form.activityLog().count(QStringLiteral("Connect OK"));
}

const QByteArray report = "CONNECT\r\nCALLSIGN:BG7ABC-9\r\nFREQ:144.6400\r\nIP:10,0,0,7\r\nREAD END\r\n";

} // namespace

class TestReceivePath : public QObject
{
    Q_OBJECT

private slots:
    // Every byte runs the parser: a recognised line logs once per byte that
    // reaches the parser while the line is in LineBuffer.
    void parserRunsAfterEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("connectOk");
        QTest::addColumn<QByteArray>("lineBuffer");

        QTest::newRow("CR LF: one parse sees the line") << QByteArray("CONNECT\r\n") << 1 << QByteArray();
        QTest::newRow("bytes after the label parse again") << QByteArray("CONNECTED\r\n") << 3 << QByteArray();
        QTest::newRow("line feed alone repeats the parse, keeps the line")
            << QByteArray("CONNECT\n") << 2 << QByteArray("CONNECT");
        QTest::newRow("no line end: line stays") << QByteArray("CONNECT") << 1 << QByteArray("CONNECT");
        QTest::newRow("carriage return clears before the parse") << QByteArray("CONNECT\r") << 1 << QByteArray();
        QTest::newRow("unterminated line prefixes the next") << QByteArray("xCONNECT\r\n") << 0 << QByteArray();
        QTest::newRow("NULs between lines do not hide the next label")
            << QByteArray("\0\0CONNECT\r\n\0", 12) << 1 << QByteArray();
    }

    void parserRunsAfterEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, connectOk);
        QFETCH(QByteArray, lineBuffer);
        FormFixture f;
        receiveBytes(f.form, bytes);
        QCOMPARE(connectOkCount(f.form), connectOk);
        QCOMPARE(f.form.LineBuffer, lineBuffer);
    }

    void lineWithoutCarriageReturnJoinsTheNext()
    {
        FormFixture f;
        receiveBytes(f.form, "FREQ:");
        receiveBytes(f.form, "\n");
        receiveBytes(f.form, "144.8\r\n");
        QCOMPARE(f.form.fieldText(Field::Frequency), QStringLiteral("144.8"));
    }

    // The same report arriving in different receive events gives the same window.
    void oddSplitsGiveTheSameResult_data()
    {
        QTest::addColumn<QList<int>>("chunkSizes");
        QTest::newRow("byte by byte") << QList<int>(report.size(), 1);
        QTest::newRow("split between CR and LF") << QList<int>{8, 1};
        QTest::newRow("split inside a value") << QList<int>{16, 3, 2, 17};
    }

    void oddSplitsGiveTheSameResult()
    {
        QFETCH(QList<int>, chunkSizes);
        FormFixture whole;
        whole.form.Text1.setText(QString());
        receiveBytes(whole.form, report);

        // The split stream goes through the port's receive event, one event per chunk.
        FormFixture split;
        split.form.Text1.setText(QString());
        ScriptedPeer device;
        split.platform.port().attachPeer(&device);
        QVERIFY(split.form.port().open());
        qsizetype at = 0;
        qint64 time = 10;
        while (at < report.size()) {
            const qsizetype size = chunkSizes.isEmpty() ? report.size() - at : chunkSizes.takeFirst();
            device.sendAt(time, report.mid(at, size));
            at += size;
            time += 10;
        }
        split.platform.runUntil(time);

        QCOMPARE(split.form.Text1.text(), whole.form.Text1.text());
        QCOMPARE(split.form.Text1.text().size(), report.size() * 2);
        QCOMPARE(split.form.activityLog(), whole.form.activityLog());
        QCOMPARE(split.form.activityLog(), QStringLiteral("\r\nConnect OK\r\nRead end"));
        QCOMPARE(split.form.fieldText(Field::Callsign), QStringLiteral("BG7ABC"));
        QCOMPARE(split.form.fieldText(Field::CallSsid), QStringLiteral("9"));
        QCOMPARE(split.form.fieldText(Field::Frequency), QStringLiteral("144.6400"));
        QCOMPARE(split.form.octets(Field::IpAddress), (QStringList{"10", "0", "0", "7"}));
        QCOMPARE(split.form.ReadEndSeen, 1);
        QVERIFY(split.form.LineBuffer.isEmpty());
    }

    void hexDump_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("after");
        QTest::newRow("blanks around the old text are trimmed") << " 0A " << QByteArray("A") << "0A41";
        QTest::newRow("values below 16 get a leading zero") << "" << QByteArray("\x00\x01\x0f", 3) << "00010F";
        QTest::newRow("upper-case digits") << "" << QByteArray("\xab\xff") << "ABFF";
    }

    void hexDump()
    {
        QFETCH(QString, before);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, after);
        FormFixture f;
        f.form.Text1.setText(before);
        receiveBytes(f.form, bytes);
        QCOMPARE(f.form.Text1.text(), after);
    }

    void overlongLineIsCut()
    {
        FormFixture f;
        const QByteArray label = "freq save";
        receiveBytes(f.form, label + QByteArray(LineBufferCap + 500, 'x'));
        QCOMPARE(f.form.LineBuffer, label + QByteArray(LineBufferCap - label.size(), 'x'));
        QCOMPARE(f.form.FreqSaveSeen, 1);

        // Bytes past the cap are dropped, a line feed does not end the line,
        // and the carriage return brings the line assembly back.
        receiveBytes(f.form, "\nyyy");
        QCOMPARE(f.form.LineBuffer.size(), LineBufferCap);
        QVERIFY(!f.form.LineBuffer.contains('y'));
        receiveBytes(f.form, "\r\nCONNECT\r\n");
        QCOMPARE(connectOkCount(f.form), 1);
        QVERIFY(f.form.LineBuffer.isEmpty());
        // The hex dump keeps the start of what came.
        QVERIFY(f.form.Text1.text().startsWith(QStringLiteral("Text1667265712073617665")));
    }

    // A device that talks for hours between two updates: the dump stops at its
    // cap, and a clear still puts the next byte at its start.
    void hexDumpStaysBoundedAndClears()
    {
        FormFixture f;
        f.form.Text1.setText(QStringLiteral("  "));
        const QByteArray chatter(64 * 1024, 'A');
        for (int event = 0; event < 16; ++event)
            receiveBytes(f.form, chatter);
        QCOMPARE(f.form.Text1.text().size(), HexDump::CapChars);
        QVERIFY(f.form.Text1.text().startsWith(QStringLiteral("4141")));

        f.form.Text1.setText(QStringLiteral("  "));
        receiveBytes(f.form, "\xc5");
        QCOMPARE(f.form.Text1.start(2), QStringLiteral("C5"));
    }
};

QTEST_MAIN(TestReceivePath)
#include "tst_receivepath.moc"
