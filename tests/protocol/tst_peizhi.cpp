#include "core/factorydefaults.h"
#include "formfixture.h"
#include "formstate.h"
#include "protocol/peizhi.h"
#include "protocol/serialreceive.h"
#include "ui/controltable.h"

#include <QtTest>

using namespace pelzo;

Q_DECLARE_METATYPE(FormState)

namespace {

FormState octetBoxesEnabled(bool enabled)
{
    FormState state;
    for (const char *name : octetBoxTexts())
        state[QLatin1String(name) + QLatin1String(".enabled")] = enabled ? QStringLiteral("1") : QStringLiteral("0");
    return state;
}

// A window showing the factory configuration, then the given controls.
struct Window : FormFixture
{
    explicit Window(const FormState &controls = {})
    {
        applyFactoryDefaults(form);
        setControls(form, controls);
    }
};

} // namespace

class TestPeizhi : public QObject
{
    Q_OBJECT

private slots:
    void oneLine_data();
    void oneLine();
    void lineGrowingByteByByte_data();
    void lineGrowingByteByByte();
};

// Each row: the line, the controls set before it, whether the pass succeeds,
// and every change it makes. Anything not listed must stay as it was.
void TestPeizhi::oneLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<FormState>("before");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<FormState>("changes");

    const auto row = [](const char *name, const QByteArray &line, const FormState &before, bool ok,
                        const FormState &changes) { QTest::newRow(name) << line << before << ok << changes; };
    const FormState none;

    // Status lines: only the beginning counts, and only the exact words.
    row("eeram reset", "eeram reset", none, true, {{"EeramResetSeen", "1"}});
    row("CONNECT", "CONNECT", none, true, {{"ConnectSeen", "1"}, {"ActivityLog", "\r\nConnect OK"}});
    row("CONNECT with more text", "CONNECT V1.2", none, true,
        {{"ConnectSeen", "1"}, {"ActivityLog", "\r\nConnect OK"}});
    row("READ END", "READ END", none, true, {{"ReadEndSeen", "1"}, {"ActivityLog", "\r\nRead end"}});
    row("WIFI Write success", "WIFI Write success!", none, true, {{"WifiSuccessSeen", "1"}});
    row("freq save sets only its flag", "freq save", none, true, {{"FreqSaveSeen", "1"}});
    row("lower-case connect", "connect", none, true, none);
    row("label after blanks", "  PASS:1234", none, true, none);

    // The callsign line: callsign from the 10th character up to the first "-" at or after it.
    row("callsign and SSID", "CALLSIGN:NOCALL-0", {{"Text4", "X"}}, true, {{"Text4", "NOCALL"}, {"Combo5", "0"}});
    row("callsign keeps the writer's blanks", "CALLSIGN:AB1   -15", none, true,
        {{"Text4", "AB1   "}, {"Combo5", "15"}});
    row("dash at the 10th character: empty callsign", "CALLSIGN:-7", none, true, {{"Text4", ""}, {"Combo5", "7"}});
    row("second dash belongs to the SSID", "CALLSIGN:A-B-C", none, true, {{"Text4", "A"}, {"Combo5", "B-C"}});
    row("nothing after the dash", "CALLSIGN:AB1-", none, true, {{"Text4", "AB1"}, {"Combo5", ""}});
    row("value starts at the 10th character whatever the 9th", "CALLSIGNS:X-1", none, true,
        {{"Text4", ":X"}, {"Combo5", "1"}});
    row("no dash fails, nothing set", "CALLSIGN:NOCALL", none, false, none);
    row("dash before the 10th character fails", "CALLSIGN-1", none, false, none);

    // Text values, each from its own position to the end of the line.
    row("PASS", "PASS:12345", none, true, {{"Text5", "12345"}});
    row("COMMENT TEXT", "COMMENT TEXT:hello", none, true, {{"Text7", "hello"}});
    row("COMMENT value starts at the 14th character", "COMMENT:hello world", none, true, {{"Text7", " world"}});
    row("COMMENT longer than 40 kept whole", "COMMENT TEXT:" + QByteArray(50, 'c'), none, true,
        {{"Text7", QString(50, 'c')}});
    row("COMMENT shorter than 14 characters", "COMMENT TEXT", none, true, {{"Text7", ""}});
    row("SERVER shorter than 8 characters", "SERVER", none, true, {{"Combo3", ""}});
    row("SENT TIME", "SENT TIME:0900", none, true, {{"Text10", "0900"}});
    row("SENT TIME trimmed by its change rule", "SENT TIME: 600 ", none, true, {{"Text10", "600"}});
    row("VER", "VER:PELZO V2.1", none, true, {{"Text6", "PELZO V2.1"}});

    // Backlight: "0" and "00" show as ON.
    row("BACKLIGHT 00 is ON", "BACKLIGHT:00", {{"Combo16", "10"}}, true, {{"Combo16", "ON"}});
    row("BACKLIGHT 0 is ON", "BACKLIGHT:0", {{"Combo16", "10"}}, true, {{"Combo16", "ON"}});
    row("BACKLIGHT 05 stays", "BACKLIGHT:05", none, true, {{"Combo16", "05"}});

    // One-character codes; a code outside its table changes nothing.
    row("UNIT 1 is km", "UNIT:1", {{"Combo4", "mi"}}, true, {{"Combo4", "km"}});
    row("UNIT 3", "UNIT:3", none, true, {{"Combo4", "公里"}});
    row("UNIT reads only the 6th character", "UNIT:21", none, true, {{"Combo4", "mi"}});
    row("UNIT 7 changes nothing", "UNIT:7", none, true, none);
    row("DIGI 1 turns it on", "DIGI:1", {{"Check1", "0"}}, true, {{"Check1", "1"}});
    row("DIGI 7 turns it off", "DIGI:7", none, true, {{"Check1", "0"}});
    row("MOD takes one character", "MOD:35", {{"Combo6", "1"}}, true, {{"Combo6", "3"}});
    row("MOD takes a whole non-ASCII character", "MOD:公里", none, true, {{"Combo6", "公"}});
    row("PATH 1", "PATH:1", {{"Combo7", "None"}}, true, {{"Combo7", "WIDE1-1"}});
    row("PATH 3", "PATH:3", none, true, {{"Combo7", "WIDE1-1WIDE2-2"}});
    row("PATH 9 changes nothing", "PATH:9", none, true, none);
    row("ALIAS 2", "ALIAS:2", none, true, {{"Combo8", "WIDE2"}});
    row("ALIAS 3", "ALIAS:3", {{"Combo8", "WIDE1"}}, true, {{"Combo8", "WIDE1+WIDE2"}});
    row("ALIAS 0 changes nothing", "ALIAS:0", none, true, none);

    // Address mode: DHCP disables the sixteen octet boxes, STATIC IP leaves them alone.
    row("DHCP:1# disables the octet boxes", "DHCP:1#", {{"Combo2", "STATIC IP"}}, true,
        withChanges(octetBoxesEnabled(false), {{"Combo2", "DHCP"}}));
    row("DHCP:1 without #", "DHCP:1", {{"Combo2", ""}}, true,
        withChanges(octetBoxesEnabled(false), {{"Combo2", "DHCP"}}));
    row("DHCP:0# leaves enabled boxes enabled", "DHCP:0#", none, true, {{"Combo2", "STATIC IP"}});
    row("DHCP:0 leaves disabled boxes disabled", "DHCP:0", octetBoxesEnabled(false), true,
        {{"Combo2", "STATIC IP"}});
    row("DHCP:2 changes nothing", "DHCP:2", {{"Combo2", "STATIC IP"}}, true, none);

    // Octet rule: boxes cut at the commas, set one by one; a missing comma fails there.
    row("IP", "IP:10,0,0,254", none, true, {{"Text13", "10"}, {"Text14", "0"}, {"Text15", "0"}, {"Text16", "254"}});
    row("fourth box takes the rest", "IP:1,2,3,4,5", none, true,
        {{"Text13", "1"}, {"Text14", "2"}, {"Text15", "3"}, {"Text16", "4,5"}});
    row("octets stored unvalidated", "DNS:999,a,,x", none, true,
        {{"Text25", "999"}, {"Text26", "a"}, {"Text27", ""}, {"Text28", "x"}});
    row("one comma: first box set, then fails", "IP:10,168", none, false, {{"Text13", "10"}});
    row("dots instead of commas fail, nothing set", "IP:192.168.1.2", none, false, none);

    // Values are UTF-8, cut at character positions.
    row("non-ASCII comment", "COMMENT TEXT:café 公里 ✓", none, true, {{"Text7", "café 公里 ✓"}});
    row("positions count characters, not bytes", "SERVERéabc", none, true, {{"Combo3", "abc"}});
}

void TestPeizhi::oneLine()
{
    QFETCH(QByteArray, line);
    QFETCH(FormState, before);
    QFETCH(bool, ok);
    QFETCH(FormState, changes);

    Window window(before);
    const FormState start = stateOf(window.form);
    window.form.LineBuffer = line;
    QCOMPARE(peizhi(window.form), ok);
    COMPARE_STATE(stateOf(window.form), withChanges(start, changes));
    QCOMPARE(window.form.LineBuffer, line);
}

// The receive path parses after every byte: a value shows the part received so
// far and ends whole; a status line acts once per byte while it begins with its words.
void TestPeizhi::lineGrowingByteByByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("watched");
    QTest::addColumn<int>("valueFrom");
    QTest::addColumn<FormState>("changes");

    QTest::newRow("CONNECT logs once") << QByteArray("CONNECT\r\n") << QString() << 0
                                       << FormState{{"ConnectSeen", "1"}, {"ActivityLog", "\r\nConnect OK"}};
    QTest::newRow("longer CONNECT line logs once per byte after the word")
        << QByteArray("CONNECT OK\r\n") << QString() << 0
        << FormState{{"ConnectSeen", "1"}, {"ActivityLog", QString("\r\nConnect OK").repeated(4)}};
    QTest::newRow("non-ASCII comment") << QByteArray("COMMENT TEXT:Grüße 公里\r\n") << QStringLiteral("Text7")
                                       << 14 << FormState{{"Text7", "Grüße 公里"}};
    QTest::newRow("callsign") << QByteArray("CALLSIGN:BA4AA -12\r\n") << QStringLiteral("Combo5") << 17
                              << FormState{{"Text4", "BA4AA "}, {"Combo5", "12"}};
    QTest::newRow("address") << QByteArray("IP:10,0,0,254\r\n") << QStringLiteral("Text16") << 11
                             << FormState{{"Text13", "10"}, {"Text14", "0"}, {"Text15", "0"}, {"Text16", "254"}};
}

void TestPeizhi::lineGrowingByteByByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, watched);
    QFETCH(int, valueFrom);
    QFETCH(FormState, changes);

    Window window;
    const FormState start = stateOf(window.form);
    const qsizetype lineLength = bytes.indexOf('\r');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        receiveBytes(window.form, bytes.mid(i, 1));
        if (!watched.isEmpty() && i + 1 >= valueFrom && i < lineLength) {
            // A character still on its way does not show yet.
            QStringDecoder utf8(QStringConverter::Utf8);
            const QString soFar = utf8.decode(bytes.mid(valueFrom - 1, i + 2 - valueFrom));
            QVERIFY2(controlText(window.form, watched) == soFar,
                     qPrintable(QStringLiteral("after byte %1: \"%2\"").arg(i + 1).arg(controlText(window.form, watched))));
        }
    }
    COMPARE_STATE(stateOf(window.form), withChanges(start, changes));
    QVERIFY(window.form.LineBuffer.isEmpty());
}

// What the parser relies on from line assembly.
QTEST_MAIN(TestPeizhi)
#include "tst_peizhi.moc"
