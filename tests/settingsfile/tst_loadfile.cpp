#include "core/factorydefaults.h"
#include "formfixture.h"
#include "filebytes.h"
#include "formstate.h"
#include "settingsfile/loadfile.h"
#include "settingsfile/savefile.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace pelzo;

Q_DECLARE_METATYPE(FormState)

namespace {

// A freshly loaded window, as the program starts: Write data disabled.
struct Window : FormFixture
{
    explicit Window(const FormState &controls = {})
    {
        setControls(form, controls);
        platform.setProgramFolder(QStringLiteral("/opt/pelzo"));
    }

    void load(const QString &path)
    {
        platform.openAnswers << path;
        loadFile(form);
    }
};

QString header(const QString &path)
{
    return path + QStringLiteral("\r\n\r\n");
}

} // namespace

class TestLoadFile : public QObject
{
    Q_OBJECT

private slots:
    void dialog();
    void cancelChangesNothing();
    void savedFileComesBack();
    void goldenFileLoadsTheFactoryConfiguration();
    void linesEchoedAndApplied_data();
    void linesEchoedAndApplied();
    void badFiles_data();
    void badFiles();

private:
    QTemporaryDir m_folder;
};

void TestLoadFile::dialog()
{
    Window window;
    window.form.dialogFileName = QStringLiteral("/home/op/old.ini");
    const QString path = m_folder.filePath(QStringLiteral("dialog.ini"));
    QVERIFY(writeBytes(path, "PASS:1\r\n"));
    window.load(path);
    saveFile(window.form); // cancelled: only its proposal is of interest

    QCOMPARE(window.platform.dialogRequests.size(), 2);
    const FileDialogRequest open = window.platform.dialogRequests.first();
    QCOMPARE(open.title, QStringLiteral("Please choose fireware."));
    QCOMPARE(open.filter, QStringLiteral("ini文件(*.ini)|*.ini"));
    QCOMPARE(open.initialFolder, QStringLiteral("/opt/pelzo"));
    QCOMPARE(open.proposedName, QString());
    QCOMPARE(window.platform.dialogRequests.last().proposedName, path);
}

void TestLoadFile::cancelChangesNothing()
{
    Window window;
    window.form.setActivityLog(QStringLiteral("Earlier text"));
    window.form.dialogFileName = QStringLiteral("/home/op/old.ini");
    const FormState before = stateOf(window.form);
    loadFile(window.form); // no answer queued: the user cancels
    COMPARE_STATE(stateOf(window.form), before);
    QVERIFY(!buttonNamed(window.form, "Command7")->isEnabled());
    QCOMPARE(window.form.dialogFileName, QStringLiteral("/home/op/old.ini"));
}

void TestLoadFile::savedFileComesBack()
{
    const FormState saved{
        {"Text4", "AB1"},      {"Combo5", "7"},           {"Text5", "12345"},   {"Combo2", "STATIC IP"},
        {"Text13", "10"},      {"Text14", "1"},           {"Text15", "2"},      {"Text16", "3"},
        {"Text17", "255"},     {"Text18", "255"},         {"Text19", "0"},      {"Text20", "0"},
        {"Text21", "10"},      {"Text22", "1"},           {"Text23", "2"},      {"Text24", "1"},
        {"Text25", "1"},       {"Text26", "0"},           {"Text27", ""},       {"Text28", "1"},
        {"Text8", "!3100.00N/12100.00E>"},                {"Text7", "Grüße 公里 ✓"},
        {"Combo3", "rotate.aprs2.net"},                   {"Text10", "600"},    {"Text11", "m/50"},
        {"Combo16", "ON"},     {"Text31", "145.8250"},    {"Combo4", "公里"},   {"Check1", "0"},
        {"Combo6", "5"},       {"Combo7", "None"},        {"Combo8", "WIDE2"},
    };
    const QString path = m_folder.filePath(QStringLiteral("roundtrip.ini"));
    {
        Window writer(saved);
        writer.platform.saveAnswers << path;
        saveFile(writer.form);
    }

    Window reader;
    applyFactoryDefaults(reader.form);
    setControls(reader.form, {{"Text6", "PELZO V9"}, {"Text33", "secret"}, {"Text34", "home"}});
    const FormState before = stateOf(reader.form);
    reader.load(path);

    // The callsign keeps the blanks the save added; the interval its leading zero.
    const FormState expected = withChanges(saved, {{"Text4", "AB1   "}, {"Text10", "0600"}});
    FormState loaded = stateOf(reader.form);
    COMPARE_STATE(loaded, expected);
    for (const char *untouched : {"Text6", "Text32", "Text33", "Text34", "Text13.enabled"})
        QCOMPARE(loaded.value(untouched), before.value(untouched));
    QVERIFY(buttonNamed(reader.form, "Command7")->isEnabled());
}

// The golden file holds the factory configuration: loading it sets what the
// Default button sets, except that the device's address mode line disables the
// address boxes and the CTCSS field stays as start-up left it.
void TestLoadFile::goldenFileLoadsTheFactoryConfiguration()
{
    Window defaults;
    applyFactoryDefaults(defaults.form);
    FormState expected = withChanges(stateOf(defaults.form), {{"Text32", "---"}});
    for (const char *name : octetBoxTexts())
        expected[QLatin1String(name) + QLatin1String(".enabled")] = QStringLiteral("0");

    const QString path = testData(QStringLiteral("golden/factory-defaults.ini"));
    Window window;
    window.load(path);
    expected[QStringLiteral("ActivityLog")] =
        header(path) + QString::fromUtf8(readBytes(path)); // every line echoed with CR LF
    COMPARE_STATE(stateOf(window.form), expected);
    QCOMPARE(window.form.LineBuffer, QByteArray("ALIAS:3"));
    // The window shows the whole log once the load is over.
    QCOMPARE(plainTextNamed(window.form, "Text29")->toPlainText(),
             expected.value(QStringLiteral("ActivityLog")).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

// Each row: the file's bytes, the ActivityLog after the path header, the
// changes to the window and LineBuffer at the end.
void TestLoadFile::linesEchoedAndApplied_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("echo");
    QTest::addColumn<FormState>("changes");
    QTest::addColumn<QByteArray>("lineBuffer");

    const FormState passAndFreq{{"Text5", "4321"}, {"Text31", "145.0000"}};
    QTest::newRow("empty file") << QByteArray() << QString() << FormState{} << QByteArray();
    QTest::newRow("CR LF") << QByteArray("PASS:4321\r\nFREQ:145.0000\r\n")
                           << QStringLiteral("PASS:4321\r\nFREQ:145.0000\r\n") << passAndFreq
                           << QByteArray("FREQ:145.0000");
    QTest::newRow("CR only") << QByteArray("PASS:4321\rFREQ:145.0000\r")
                             << QStringLiteral("PASS:4321\r\nFREQ:145.0000\r\n") << passAndFreq
                             << QByteArray("FREQ:145.0000");
    QTest::newRow("no line end after the last line")
        << QByteArray("PASS:4321\r\nFREQ:145.0000") << QStringLiteral("PASS:4321\r\nFREQ:145.0000\r\n")
        << passAndFreq << QByteArray("FREQ:145.0000");
    QTest::newRow("parser messages between the echoes")
        << QByteArray("CONNECT\r\nPASS:1\r\n") << QStringLiteral("CONNECT\r\n\r\nConnect OKPASS:1\r\n")
        << FormState{{"ConnectSeen", "1"}, {"Text5", "1"}} << QByteArray("PASS:1");
    QTest::newRow("failing callsign line ends the load")
        << QByteArray("[PELZO]\r\n\r\nCALLSIGN:NOCALL\r\nPASS:4321\r\n")
        << QStringLiteral("[PELZO]\r\n\r\nCALLSIGN:NOCALL\r\n"
                          "Line 3 is not a valid settings line; the lines after it were not loaded.\r\n")
        << FormState{} << QByteArray("CALLSIGN:NOCALL");
    QTest::newRow("address cut short keeps the boxes before the fault")
        << QByteArray("IP:10,20\r\n")
        << QStringLiteral("IP:10,20\r\nLine 1 is not a valid settings line; the lines after it were not loaded.\r\n")
        << FormState{{"Text13", "10"}} << QByteArray("IP:10,20");
}

void TestLoadFile::linesEchoedAndApplied()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, echo);
    QFETCH(FormState, changes);
    QFETCH(QByteArray, lineBuffer);

    const QString path = m_folder.filePath(QStringLiteral("lines.ini"));
    QVERIFY(writeBytes(path, content));
    Window window;
    window.form.LineBuffer = "left over";
    const FormState before = stateOf(window.form);
    window.load(path);

    const FormState expected = withChanges(before, withChanges(changes, {{"ActivityLog", header(path) + echo}}));
    COMPARE_STATE(stateOf(window.form), expected);
    QCOMPARE(window.form.LineBuffer, content.isEmpty() ? QByteArray("left over") : lineBuffer);
    QVERIFY(buttonNamed(window.form, "Command7")->isEnabled());
}

// Files that are no settings files: the path is echoed, no field changes,
// Write data is enabled, and the last line of the ActivityLog says what happened.
void TestLoadFile::badFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<int>("lines");

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 7) % 256);
    QByteArray large;
    for (int i = 0; large.size() < 6 * 1024 * 1024; ++i)
        large += QByteArray("unrelated text, line ") + QByteArray::number(i) + "\r\n";
    const int largeLines = int(large.count('\n'));

    QTest::newRow("missing file") << QStringLiteral("missing.ini") << QByteArray()
                                  << QStringLiteral("The file could not be read: No such file or directory.") << 1;
    QTest::newRow("binary file") << QStringLiteral("binary.ini") << binary << QStringLiteral("[^\\r\\n]*")
                                 << -1;
    QTest::newRow("6 MiB of text") << QStringLiteral("large.ini") << large
                                   << QStringLiteral("unrelated text, line %1").arg(largeLines - 1) << largeLines;
#ifdef Q_OS_UNIX
    QTest::newRow("endless file") << QStringLiteral("/dev/zero") << QByteArray()
                                  << QStringLiteral("The file is larger than 16 MiB, far too large for a settings "
                                                    "file; the rest of it was not loaded.")
                                  << 1;
#endif
}

void TestLoadFile::badFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, lastLine);
    QFETCH(int, lines);

    const QString path = name.startsWith(QLatin1Char('/')) ? name : m_folder.filePath(name);
    if (!content.isEmpty())
        QVERIFY(writeBytes(path, content));

    Window window;
    applyFactoryDefaults(window.form);
    buttonNamed(window.form, "Command7")->setEnabled(false);
    FormState before = stateOf(window.form);
    before.remove(QStringLiteral("ActivityLog"));
    window.load(path);

    FormState after = stateOf(window.form);
    const QString log = after.take(QStringLiteral("ActivityLog"));
    COMPARE_STATE(after, before);
    QVERIFY(buttonNamed(window.form, "Command7")->isEnabled());
    QVERIFY2(log.startsWith(header(path)), qPrintable(log.left(200)));
    QVERIFY2(log.endsWith(QStringLiteral("\r\n")), qPrintable(log.right(200)));
    const QStringList logged = log.mid(header(path).size()).split(QStringLiteral("\r\n"));
    const QString last = logged.value(logged.size() - 2);
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(lastLine)).match(last).hasMatch(),
             qPrintable(last));
    if (lines >= 0)
        QCOMPARE(logged.size() - 1, lines);
}

QTEST_MAIN(TestLoadFile)
#include "tst_loadfile.moc"
