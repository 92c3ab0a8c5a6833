#include "core/factorydefaults.h"
#include "formfixture.h"
#include "filebytes.h"
#include "formstate.h"
#include "settingsfile/savefile.h"
#include "userwithoutrights.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using namespace pelzo;

Q_DECLARE_METATYPE(FormState)

namespace {

// A window showing the factory configuration, then the given controls.
struct Window : FormFixture
{
    explicit Window(const FormState &controls = {})
    {
        applyFactoryDefaults(form);
        setControls(form, controls);
        platform.setProgramFolder(QStringLiteral("/opt/pelzo"));
    }

    QByteArray saveAs(const QString &path)
    {
        platform.saveAnswers << path;
        saveFile(form);
        return readBytes(path);
    }
};

QByteArray golden()
{
    return readBytes(testData(QStringLiteral("golden/factory-defaults.ini")));
}


const QFile::Permissions ReadOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions Writable = ReadOnly | QFile::WriteOwner;
const QFile::Permissions Folder = ReadOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

} // namespace

class TestSaveFile : public QObject
{
    Q_OBJECT

private slots:
    void factoryDefaultsGiveTheGoldenFile();
    void lineRules_data();
    void lineRules();
    void dialog();
    void cancelWritesNothing();
    void savingAgainReplacesTheFileWhole();
    void failureLeavesTheEarlierFile_data();
    void failureLeavesTheEarlierFile();
    void withoutWriteRights_data();
    void withoutWriteRights();

private:
    QTemporaryDir m_folder;
};

void TestSaveFile::factoryDefaultsGiveTheGoldenFile()
{
    // Fields that never go into a settings file hold values that would show if they did.
    Window window({{"Text6", "PELZO V9"}, {"Text32", "88"}, {"Text33", "secret"}, {"Text34", "home"}});
    const QByteArray saved = window.saveAs(m_folder.filePath(QStringLiteral("defaults.ini")));
    QCOMPARE(linesWithEnds(saved), linesWithEnds(golden()));
}

// Each row changes some controls of the factory configuration; the file must
// differ from the golden one in exactly one line.
void TestSaveFile::lineRules_data()
{
    QTest::addColumn<FormState>("controls");
    QTest::addColumn<int>("lineNumber");
    QTest::addColumn<QString>("line");

    const auto row = [](const char *name, const FormState &controls, int number, const QString &line) {
        QTest::newRow(name) << controls << number << line;
    };
    row("callsign padded to 6", {{"Text4", "TEST"}, {"Combo5", "9"}}, 3, "CALLSIGN:TEST  -9");
    row("empty callsign and SSID", {{"Text4", ""}, {"Combo5", ""}}, 3, "CALLSIGN:      -");
    row("STATIC IP", {{"Combo2", "STATIC IP"}}, 5, "DHCP:0#");
    row("lower-case static ip", {{"Combo2", "static ip"}}, 5, "DHCP:1#");
    row("MASK octets in box order", {{"Text17", "1"}, {"Text18", "2"}, {"Text19", "3"}, {"Text20", "4"}}, 7,
        "MASK:1,2,3,4");
    row("comment untrimmed", {{"Text7", "  Hello  "}}, 11, "COMMENT TEXT:  Hello  ");
    row("SendTime 600 padded", {{"Text10", "600"}}, 13, "SENT TIME:0600");
    row("empty SendTime", {{"Text10", ""}}, 13, "SENT TIME:0000");
    row("5-digit SendTime written whole", {{"Text10", "12345"}}, 13, "SENT TIME:12345");
    row("lower-case on is not ON", {{"Combo16", "on"}}, 15, "BACKLIGHT:on");
    row("unit 公里", {{"Combo4", "公里"}}, 17, "UNIT:3");
    row("upper-case MI falls back to 1", {{"Combo4", "MI"}}, 17, "UNIT:1");
    row("TxVolume as typed", {{"Combo6", "7"}}, 19, "MOD:7");
    row("path None", {{"Combo7", "None"}}, 20, "PATH:0");
    row("typed path WIDE2-1 falls back to 1", {{"Combo7", "WIDE2-1"}}, 20, "PATH:1");
    row("alias WIDE2", {{"Combo8", "WIDE2"}}, 21, "ALIAS:2");
    row("typed alias falls back to 3", {{"Combo8", "wide1"}}, 21, "ALIAS:3");
}

void TestSaveFile::lineRules()
{
    QFETCH(FormState, controls);
    QFETCH(int, lineNumber);
    QFETCH(QString, line);

    Window window(controls);
    const QByteArray saved = window.saveAs(m_folder.filePath(QStringLiteral("rule.ini")));
    QByteArrayList expected = linesWithEnds(golden());
    expected[lineNumber - 1] = line.toUtf8() + "\r\n";
    QCOMPARE(linesWithEnds(saved), expected);
}

void TestSaveFile::dialog()
{
    Window window;
    window.form.dialogFileName = QStringLiteral("/home/op/station.ini");
    const QString path = m_folder.filePath(QStringLiteral("dialog.ini"));
    window.saveAs(path);
    window.saveAs(path);

    QCOMPARE(window.platform.dialogRequests.size(), 2);
    const FileDialogRequest first = window.platform.dialogRequests.first();
    QCOMPARE(first.title, QStringLiteral("Save"));
    QCOMPARE(first.filter, QStringLiteral("setup file(*.ini)|*.ini"));
    QCOMPARE(first.initialFolder, QStringLiteral("/opt/pelzo"));
    QCOMPARE(first.proposedName, QStringLiteral("/home/op/station.ini"));
    QVERIFY(first.confirmOverwrite);
    QCOMPARE(window.platform.dialogRequests.last().proposedName, path);
    QCOMPARE(window.form.dialogFileName, path);
}

void TestSaveFile::cancelWritesNothing()
{
    Window window;
    const QString proposed = m_folder.filePath(QStringLiteral("proposed.ini"));
    window.form.dialogFileName = proposed;
    const FormState before = stateOf(window.form);
    saveFile(window.form); // no answer queued: the user cancels
    QVERIFY(!QFile::exists(proposed));
    QCOMPARE(window.form.dialogFileName, proposed);
    COMPARE_STATE(stateOf(window.form), before);
}

void TestSaveFile::savingAgainReplacesTheFileWhole()
{
    const QString path = m_folder.filePath(QStringLiteral("again.ini"));
    QVERIFY(writeBytes(path, QByteArray(5000, 'x')));
    Window window;
    const FormState before = stateOf(window.form);
    QCOMPARE(window.saveAs(path), golden());
    QCOMPARE(window.saveAs(path), golden());
    COMPARE_STATE(stateOf(window.form), before);
}

void TestSaveFile::failureLeavesTheEarlierFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("folder that does not exist") << QStringLiteral("no-such-folder/a.ini");
    QTest::newRow("name of a folder") << QStringLiteral("a-folder");
}

void TestSaveFile::failureLeavesTheEarlierFile()
{
    QFETCH(QString, name);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("a-folder")));
    const QStringList entries = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden);
    const QString path = folder.filePath(name);

    Window window;
    window.form.setActivityLog(QStringLiteral("Earlier text"));
    window.platform.saveAnswers << path;
    saveFile(window.form);

    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden), entries);
    const QString log = window.form.activityLog();
    QVERIFY2(log.startsWith(QStringLiteral("Earlier text\r\nCould not save ") + path + QStringLiteral(": ")),
             qPrintable(log));
    QVERIFY2(log.endsWith(QStringLiteral(". Any earlier file of that name is unchanged.")), qPrintable(log));
}

void TestSaveFile::withoutWriteRights_data()
{
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<bool>("earlierFile");
    QTest::addColumn<QFile::Permissions>("fileMode");

    QTest::newRow("new file in a read-only folder") << false << false << ReadOnly;
    QTest::newRow("read-only file in a writable folder") << true << true << ReadOnly;
}

void TestSaveFile::withoutWriteRights()
{
#ifndef Q_OS_UNIX
    QSKIP("file modes and a user without rights are set up the Unix way here");
#else
    QFETCH(bool, folderWritable);
    QFETCH(bool, earlierFile);
    QFETCH(QFile::Permissions, fileMode);

    const UserWithoutRights user;
    QVERIFY2(user.error().isEmpty(), qPrintable(user.error()));

    // Everything the user runs or reads lies in a folder that everyone can enter.
    QTemporaryDir base;
    QVERIFY(QFile::setPermissions(base.path(), Folder | QFile::WriteOwner));
    const QString helper = base.filePath(QStringLiteral("saveasuser"));
    QVERIFY(QFile::copy(QStringLiteral(SAVE_AS_USER), helper));
    QVERIFY(QFile::setPermissions(helper, Folder));
    const QString runtime = base.filePath(QStringLiteral("runtime"));
    QVERIFY(QDir(base.path()).mkdir(QStringLiteral("runtime")));
    QVERIFY(user.own(runtime));
    QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QString folder = base.filePath(QStringLiteral("target"));
    QVERIFY(QDir(base.path()).mkdir(QStringLiteral("target")));
    const QString path = folder + QStringLiteral("/station.ini");
    const QByteArray earlier("[PELZO]\r\n\r\nCALLSIGN:BA4AA -7\r\n");
    if (earlierFile) {
        QVERIFY(writeBytes(path, earlier));
        QVERIFY(user.own(path));
        QVERIFY(QFile::setPermissions(path, fileMode));
    }
    QVERIFY(user.own(folder));
    QVERIFY(QFile::setPermissions(folder, folderWritable ? Folder | QFile::WriteOwner : Folder));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(folder, Folder | QFile::WriteOwner); });
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);

    const QString log = QString::fromLocal8Bit(user.run(helper, {path}, runtime));

    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), entries);
    if (earlierFile)
        QCOMPARE(readBytes(path), earlier);
    QVERIFY2(log.startsWith(QStringLiteral("\r\nCould not save ") + path + QStringLiteral(": ")), qPrintable(log));
    QVERIFY2(log.endsWith(QStringLiteral(". Any earlier file of that name is unchanged.")), qPrintable(log));
#endif
}

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
