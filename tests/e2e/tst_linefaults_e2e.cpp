// Fault campaign, part two: a device that keeps running but talks badly, and
// ports that cannot be had. pelzo-sim runs as a process of its own behind a
// real pseudo-terminal; the port faults put a second process in the way.

#include "emulatedwindow.h"
#include "faultaftermath.h"
#include "userwithoutrights.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace pelzo;

namespace {

constexpr int ProcessTimeoutMs = 60000;
// The device answers 9 s late; a write stops looking about 8.1 s after its frequency command.
constexpr int LateAnswerArrivesMs = 2000;
const QString PortFailure = QStringLiteral("Port is open or no");
const QString ReadIncomplete = QStringLiteral(
    "The device did not send its whole configuration: the fields may be incomplete. Read again before writing.");

// What the window shows after an action, and whether it let the port and the processor go.
struct Outcome
{
    QStringList boxes;
    QString log;
    double actionShare = 0;
};

// A program folder whose COM1 is pelzo-sim, the window on it, and a folder of the user's files.
struct Bench
{
    explicit Bench(const QStringList &options) : sim(dir.path(), options) {}

    // A settings file the user keeps next to the program's work.
    static QString withSettingsFile(const QTemporaryDir &folder)
    {
        QFile settings(folder.filePath(QStringLiteral("station.ini")));
        if (settings.open(QIODevice::WriteOnly))
            settings.write("CALLSIGN:BH4XYZ-7\r\nFREQ:144.3900\r\n");
        return folder.path();
    }

    QString portPath() const { return QDir(dir.path()).filePath(QStringLiteral("ports/COM1")); }

    Outcome press(QPushButton *button)
    {
        window->platform.boxes.clear();
        QElapsedTimer wall;
        wall.start();
        const qint64 cpuBefore = processCpuMs();
        button->click();
        Outcome outcome;
        outcome.actionShare = double(processCpuMs() - cpuBefore) / double(qMax<qint64>(1, wall.elapsed()));
        for (const QString &box : std::as_const(window->platform.boxes))
            outcome.boxes << box.section(QLatin1Char('|'), 0, 0);
        outcome.log = window->form.activityLog();
        return outcome;
    }

    QTemporaryDir dir;
    QTemporaryDir home;
    FolderSnapshot userFiles{withSettingsFile(home)};
    EmulatorProcess sim;
    std::optional<EmulatedWindow> window;
};

// The checks that end every fault: port let go, nothing spinning, buttons at rest, files untouched.
void verifyAftermath(Bench &bench, const QString &devicePath)
{
    Form1 &form = bench.window->form;
    QVERIFY(!form.port().isOpen());
    QVERIFY(!processHolds(devicePath));
    QVERIFY(!processHoldsLock(devicePath));
    const double idleShare = idleCoreShare();
    QVERIFY2(idleShare < SpinningShare, qPrintable(QString::number(idleShare)));
    for (QPushButton *button : {buttonNamed(form, "Command0"), buttonNamed(form, "Command1"), buttonNamed(form, "Command2"), buttonNamed(form, "Command4"), buttonNamed(form, "Command5"),
                                buttonNamed(form, "Command6"), buttonNamed(form, "Command8"), buttonNamed(form, "Command9")})
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    QVERIFY(comboNamed(form, "Combo1")->isEnabled());
    QVERIFY(bench.userFiles.unchanged());
}

} // namespace

class TestLineFaultsE2e : public QObject
{
    Q_OBJECT

private slots:
    void badLineDuringARead_data();
    void badLineDuringARead();
    void lateAnswerDoesNotConfirmTheNextWrite();
    void portHeldByAnotherProcess();
    void portWithoutPermission();
};

void TestLineFaultsE2e::badLineDuringARead_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("logEnd");
    QTest::addColumn<QString>("callsign"); // what the read got of the device's NOCALL

    QTest::newRow("binary noise ended by a carriage return after every line")
        << QStringList{"--noise", "7e 00 ff 80 55 c5 0d"} << "read ok" << "NOCALL";
    QTest::newRow("NUL bytes after every line") << QStringList{"--nul", "8"} << "read ok" << "NOCALL";
    // The report's first line, the callsign, joins the endless one and is lost with it.
    QTest::newRow("4 MB line without carriage return before every report")
        << QStringList{"--unterminated-line", "4000000"} << "read ok" << "";
}

void TestLineFaultsE2e::badLineDuringARead()
{
    QFETCH(QStringList, options);
    QFETCH(QString, logEnd);
    QFETCH(QString, callsign);
    Bench bench(options);
    QVERIFY(bench.sim.ready);
    const QString devicePath = QFileInfo(bench.portPath()).symLinkTarget();
    bench.window.emplace(bench.dir.path());
    Form1 &form = bench.window->form;

    const Outcome read = bench.press(buttonNamed(form, "Command6"));
    QVERIFY2(read.log.endsWith(logEnd), qPrintable(read.log));
    QCOMPARE(read.boxes, QStringList());
    QCOMPARE(form.fieldText(Field::Callsign), callsign);
    QCOMPARE(form.fieldText(Field::DeviceVersion), QStringLiteral("PELZO-SIM 1.0"));
    QCOMPARE(buttonNamed(form, "Command6")->text(), QStringLiteral("read data"));
    QVERIFY(buttonNamed(form, "Command7")->isEnabled());
    QVERIFY(form.LineBuffer.size() <= 4096);
    QVERIFY(form.Text1.text().size() <= HexDump::CapChars);
    QVERIFY2(read.actionShare < SpinningShare, qPrintable(QString::number(read.actionShare)));
    verifyAftermath(bench, devicePath);
    QVERIFY(buttonNamed(form, "Command7")->isEnabled());
}

// The device confirms a write after the window has given up on it; that
// confirmation waits in the system and must not confirm the next write.
void TestLineFaultsE2e::lateAnswerDoesNotConfirmTheNextWrite()
{
    Bench bench({"--answer-delay", "9000"});
    QVERIFY(bench.sim.ready);
    const QString devicePath = QFileInfo(bench.portPath()).symLinkTarget();
    bench.window.emplace(bench.dir.path());
    Form1 &form = bench.window->form;
    buttonNamed(form, "Command0")->click();

    const Outcome first = bench.press(buttonNamed(form, "Command7"));
    QVERIFY2(first.log.endsWith(QStringLiteral("Write fail，Please try again.\r\n")), qPrintable(first.log));
    QVERIFY(!first.log.contains(QStringLiteral("Write complete")));
    QCOMPARE(buttonNamed(form, "Command7")->text(), QStringLiteral("Write data"));
    verifyAftermath(bench, devicePath);

    // The late answers arrive at the closed port.
    QTest::qWait(LateAnswerArrivesMs);
    const Outcome second = bench.press(buttonNamed(form, "Command7"));
    QVERIFY2(!second.log.contains(QStringLiteral("Write complete")), qPrintable(second.log));
    QCOMPARE(second.boxes, QStringList());
    verifyAftermath(bench, devicePath);
}

void TestLineFaultsE2e::portHeldByAnotherProcess()
{
    Bench bench({});
    QVERIFY(bench.sim.ready);
    const QString devicePath = QFileInfo(bench.portPath()).symLinkTarget();
    QProcess holder;
    // By the device's own name, as a terminal program given that name would.
    holder.start(QStringLiteral(FAULT_WINDOW_EXECUTABLE), {QStringLiteral("hold"), devicePath});
    QVERIFY(holder.waitForReadyRead(ProcessTimeoutMs));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));

    bench.window.emplace(bench.dir.path());
    Form1 &form = bench.window->form;
    const Outcome held = bench.press(buttonNamed(form, "Command6"));
    QCOMPARE(held.boxes, QStringList{PortFailure});
    QVERIFY2(bench.window->platform.boxes[0].contains(QStringLiteral("faultwindow (pid %1)").arg(holder.processId())),
             qPrintable(bench.window->platform.boxes[0]));
    QCOMPARE(buttonNamed(form, "Command6")->text(), QStringLiteral("read data"));
    verifyAftermath(bench, devicePath);

    // Once the other program lets go, the same window reads.
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(ProcessTimeoutMs));
    const Outcome freed = bench.press(buttonNamed(form, "Command6"));
    QVERIFY2(freed.log.endsWith(QStringLiteral("read ok")), qPrintable(freed.log));
    QCOMPARE(form.fieldText(Field::Callsign), QStringLiteral("NOCALL"));
    verifyAftermath(bench, devicePath);
}

// The window runs as a user who may not open the port (on CI the tests run as root, whom modes do not stop).
void TestLineFaultsE2e::portWithoutPermission()
{
    const UserWithoutRights user;
    QVERIFY2(user.error().isEmpty(), qPrintable(user.error()));
    if (!user.isThrowaway())
        QSKIP("the emulator's port belongs to this user; only root can run the window as somebody else");
    QTemporaryDir runtime;
    QVERIFY(user.own(runtime.path()));

    Bench bench({});
    QVERIFY(bench.sim.ready);
    // The user may look into the program folder, not use the device behind it.
    const auto folderModes = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                             | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(bench.dir.path(), folderModes));
    const FolderSnapshot programFolder(bench.dir.path());

    const QString out = QString::fromUtf8(
        user.run(QStringLiteral(FAULT_WINDOW_EXECUTABLE), {QStringLiteral("read"), bench.dir.path()},
                 runtime.path()));
    QMap<QString, QString> seen; // "box: ..." and the like, one a line
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        seen.insert(line.section(QStringLiteral(": "), 0, 0), line.section(QStringLiteral(": "), 1));
    const QString box = seen.value(QStringLiteral("box"));
    QVERIFY2(box.startsWith(PortFailure + QStringLiteral("|COM1")), qPrintable(out));
    QVERIFY2(box.contains(QStringLiteral("Permission denied")), qPrintable(out));
    QVERIFY2(box.contains(QStringLiteral("Make it a member of the group")), qPrintable(out));
    QCOMPARE(seen.value(QStringLiteral("caption")), QStringLiteral("read data"));
    QCOMPARE(seen.value(QStringLiteral("open")), QStringLiteral("0"));
    QCOMPARE(seen.value(QStringLiteral("callsign")), QStringLiteral("NOCALL"));
    QVERIFY(programFolder.unchanged());
    QVERIFY(bench.userFiles.unchanged());
}

QTEST_MAIN(TestLineFaultsE2e)
#include "tst_linefaults_e2e.moc"
