#include "exchangetesting.h"
#include "formstate.h"

#include "core/factorydefaults.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace pelzo;

namespace {

const QString Fail = QStringLiteral("Write fail，Please try again.\r\n");

// A window holding the factory configuration.
struct WriteFixture : ExchangeFixture
{
    WriteFixture() { applyFactoryDefaults(form); }

    void write() { buttonNamed(form, "Command7")->click(); }
};

struct Command
{
    QByteArray text;
    QList<qint64> waitsAfterMs;
};

// The commands a write of the factory configuration sends, with the waits after each.
QList<Command> factoryCommands(bool staticAddress)
{
    QList<Command> commands{
        {"AT+CALL,NOCALL-10#\r\n", {200}},
        {"AT+PASS,27183#\r\n", {200}},
    };
    if (staticAddress) {
        commands << QList<Command>{
            {"AT+DHCP,0#\r\n", {200}},
            {"AT+IP,192,168,1,99#\r\n", {200}},
            {"AT+SUB,255,255,255,0#\r\n", {200}},
            {"AT+GW,192,168,1,1#\r\n", {200}},
            {"AT+DNS,8,8,8,8#\r\n", {200, 200}},
        };
    } else {
        commands.append({"AT+DHCP,1#\r\n", {200}});
    }
    commands << QList<Command>{
        {"AT+POSI,!3035.00N/11417.00ErPHG1010#\r\n", {200}},
        {"AT+COMMENT,PELZO 144.640MHz#\r\n", {200}},
        {"AT+SERVER,asia.aprs2.net#\r\n", {200}},
        {"AT+TIME,0600#\r\n", {200}},
        {"AT+FILTER,b/PELZO#\r\n", {200}},
        {"AT+BACKLIGHT,00#\r\n", {200}},
        {"AT+UNIT,1#\r\n", {200}},
        {"AT+DIGI,1#\r\n", {200}},
        {"AT+MOD,3#\r\n", {200}},
        {"AT+PATH,1#\r\n", {200}},
        {"AT+ALIAS,3#\r\n", {}},
        {"\r\nAT+FREQ,144.6400#\r\n", {200}},
    };
    return commands;
}

} // namespace

class TestWriteData : public QObject
{
    Q_OBJECT

private slots:
    void sendsTheSequenceWithItsPacing_data();
    void sendsTheSequenceWithItsPacing();
    void activityLogTellsTheOutcome_data();
    void activityLogTellsTheOutcome();
    void confirmationBeforeTheFrequencyCommandCounts();
    void commandCarriesTheFieldEncoded_data();
    void commandCarriesTheFieldEncoded();
    void fieldsAreReadAsEachCommandIsBuilt();
    void portAlreadyOpenCancelsTheOtherExchange();
    void secondPressEndsTheFirstWriteWithFailure();
    void portThatWillNotOpenEndsInFailure();
    void loadedFileLineDoesNotSpoilTheConfirmation();
};

void TestWriteData::sendsTheSequenceWithItsPacing_data()
{
    QTest::addColumn<QString>("addressMode");
    QTest::addColumn<bool>("staticAddress");

    QTest::newRow("DHCP sends 15 commands") << QStringLiteral("DHCP") << false;
    QTest::newRow("STATIC IP sends the four addresses") << QStringLiteral("STATIC IP") << true;
    QTest::newRow("lower-case static ip is not static") << QStringLiteral("static ip") << false;
}

void TestWriteData::sendsTheSequenceWithItsPacing()
{
    QFETCH(QString, addressMode);
    QFETCH(bool, staticAddress);

    WriteFixture fx;
    comboNamed(fx.form, "Combo2")->setEditText(addressMode);
    fx.platform.runUntil(1000);
    fx.write();

    const QList<Command> expected = factoryCommands(staticAddress);
    QByteArrayList texts;
    QList<qint64> times;
    qint64 at = 1000 + waited(100);
    for (const Command &command : expected) {
        texts << command.text;
        times << at;
        for (qint64 wait : command.waitsAfterMs)
            at += waited(wait);
    }
    QCOMPARE(writtenTexts(fx.platform.port()), texts);
    QCOMPARE(writeTimes(fx.platform.port()), times);
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command7")->text(), QStringLiteral("Write data"));
}

void TestWriteData::activityLogTellsTheOutcome_data()
{
    QTest::addColumn<qint64>("answerDelayMs");
    QTest::addColumn<QString>("log");

    // The polls start after the 200 ms wait that follows the frequency command; each lasts 500 ms.
    const auto inPoll = [](int poll) { return qint64(200 + 500 * (poll - 1) + 250); };
    const QString complete = QStringLiteral("\r\nWrite complete");

    QTest::newRow("confirmed in poll 14") << inPoll(14) << QStringLiteral("Writing......") + complete;
    QTest::newRow("confirmed in poll 15") << inPoll(15) << QStringLiteral("Writing......") + Fail + complete;
    QTest::newRow("confirmed in poll 16") << inPoll(16)
                                          << QStringLiteral("Writing......") + Fail + Fail + complete;
    QTest::newRow("never confirmed") << qint64(-1) << QStringLiteral("Writing......") + Fail + Fail;
}

void TestWriteData::activityLogTellsTheOutcome()
{
    QFETCH(qint64, answerDelayMs);
    QFETCH(QString, log);

    WriteFixture fx;
    pelzosim::Options options;
    options.silent = answerDelayMs < 0;
    options.answerDelayMs = std::max<qint64>(answerDelayMs, 0);
    fx.useEmulator(options);
    fx.write();

    QCOMPARE(fx.form.activityLog(), log);
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command7")->text(), QStringLiteral("Write data"));
    QVERIFY(buttonNamed(fx.form, "Command7")->isEnabled());
    QVERIFY(fx.platform.messageBoxes.isEmpty());
}

void TestWriteData::confirmationBeforeTheFrequencyCommandCounts()
{
    WriteFixture fx;
    fx.device.on("AT+CALL,", "freq save\r\n");
    fx.write();

    QCOMPARE(fx.form.activityLog(), QStringLiteral("Writing......\r\nWrite complete"));
    // The first look after the frequency command ends the wait.
    const qint64 frequencySent = fx.platform.port().writes().last().atMs;
    QCOMPARE(fx.platform.port().writes().last().bytes, QByteArray("\r\nAT+FREQ,144.6400#\r\n"));
    QCOMPARE(fx.platform.now(), frequencySent + waited(200) + waited(500) + waited(100));
}

void TestWriteData::commandCarriesTheFieldEncoded_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("command");

    QTest::newRow("4-character callsign is filled to 6")
        << QStringLiteral("Text4") << QStringLiteral("TEST") << QByteArray("AT+CALL,TEST  -10#\r\n");
    QTest::newRow("empty SSID leaves nothing after the dash")
        << QStringLiteral("Combo5") << QString() << QByteArray("AT+CALL,NOCALL-#\r\n");
    QTest::newRow("backlight 05 as it is") << QStringLiteral("Combo16") << QStringLiteral("05")
                                           << QByteArray("AT+BACKLIGHT,05#\r\n");
    QTest::newRow("unknown unit is 2") << QStringLiteral("Combo4") << QStringLiteral("KM")
                                       << QByteArray("AT+UNIT,2#\r\n");
    QTest::newRow("unknown alias is 3") << QStringLiteral("Combo8") << QString() << QByteArray("AT+ALIAS,3#\r\n");
    QTest::newRow("send time gets no leading zero")
        << QStringLiteral("Text10") << QStringLiteral("600") << QByteArray("AT+TIME,600#\r\n");
    QTest::newRow("comment keeps non-ASCII characters")
        << QStringLiteral("Text7") << QStringLiteral("73 de Jürgen ✓")
        << QByteArray("AT+COMMENT,73 de J\xc3\xbcrgen \xe2\x9c\x93#\r\n");
}

void TestWriteData::commandCarriesTheFieldEncoded()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QByteArray, command);

    WriteFixture fx;
    fx.device.on("AT+FREQ,", "freq save\r\n");
    setControls(fx.form, {{control, text}});
    fx.write();

    const QByteArrayList texts = writtenTexts(fx.platform.port());
    QCOMPARE(texts.size(), 15);
    QCOMPARE(texts.count(command), 1);
    QVERIFY(fx.form.activityLog().endsWith(QStringLiteral("Write complete")));
}

void TestWriteData::fieldsAreReadAsEachCommandIsBuilt()
{
    WriteFixture fx;
    // The comment goes out 4 paces after the callsign, the position 3 paces after it.
    const qint64 position = waited(100) + 3 * waited(200);
    fx.platform.at(position + 50, [&] {
        editNamed(fx.form, "Text7")->setText(QStringLiteral("changed"));
        editNamed(fx.form, "Text8")->setText(QStringLiteral("too late"));
    });
    fx.write();

    const QByteArrayList texts = writtenTexts(fx.platform.port());
    QVERIFY(texts.contains("AT+POSI,!3035.00N/11417.00ErPHG1010#\r\n"));
    QVERIFY(texts.contains("AT+COMMENT,changed#\r\n"));
}

void TestWriteData::portAlreadyOpenCancelsTheOtherExchange()
{
    WriteFixture fx;
    fx.form.setActivityLog(QStringLiteral("left over"));
    plainTextNamed(fx.form, "Text30")->setPlainText(QStringLiteral("work"));
    QVERIFY(fx.platform.port().open());
    fx.platform.runUntil(500);
    fx.write();

    QCOMPARE(fx.platform.now(), qint64(500));
    QVERIFY(fx.platform.port().writes().isEmpty());
    QVERIFY(!fx.platform.port().isOpen());
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("Port is open"));
    QVERIFY(buttonNamed(fx.form, "Command7")->isEnabled());
    QCOMPARE(fx.form.activityLog(), QString());
    QCOMPARE(plainTextNamed(fx.form, "Text30")->toPlainText(), QString());
}

void TestWriteData::secondPressEndsTheFirstWriteWithFailure()
{
    WriteFixture fx;
    fx.device.on("AT+FREQ,", "freq save\r\n");
    const qint64 press = 1000;
    fx.platform.at(press, [&] { fx.write(); });
    fx.write();

    for (const auto &write : fx.platform.port().writes())
        QVERIFY2(write.atMs < press, write.bytes.constData());
    QVERIFY(!fx.platform.port().writes().isEmpty());
    QCOMPARE(buttonNamed(fx.form, "Command6")->text(), QStringLiteral("Port is open"));
    // The second press cleared the log; the first write then found no confirmation.
    QCOMPARE(fx.form.activityLog(), Fail + Fail);
    QCOMPARE(buttonNamed(fx.form, "Command7")->text(), QStringLiteral("Write data"));
    QVERIFY(!fx.platform.port().isOpen());
}

void TestWriteData::portThatWillNotOpenEndsInFailure()
{
    WriteFixture fx;
    fx.platform.port().setHeldElsewhere(1, true);
    fx.write();

    QVERIFY(fx.platform.port().writes().isEmpty());
    QCOMPARE(fx.form.activityLog(), QStringLiteral("Writing......") + Fail + Fail);
    QCOMPARE(buttonNamed(fx.form, "Command7")->text(), QStringLiteral("Write data"));
    // The whole 8 s confirmation wait ran.
    QVERIFY(fx.platform.now() > 8000);
}

void TestWriteData::loadedFileLineDoesNotSpoilTheConfirmation()
{
    WriteFixture fx;
    // A settings-file load leaves its last line, without line end, behind.
    fx.form.LineBuffer = "ALIAS:3";
    fx.device.on("AT+FREQ,", "freq save\r\n");
    fx.write();

    QCOMPARE(fx.form.activityLog(), QStringLiteral("Writing......\r\nWrite complete"));
}

QTEST_MAIN(TestWriteData)
#include "tst_writedata.moc"
