// Fault campaign, part one: the device goes away in the middle of each
// exchange, either by dropping the link itself or by being killed. pelzo-sim
// runs as a process of its own behind a real pseudo-terminal.

#include "emulatedwindow.h"
#include "faultaftermath.h"
#include "filebytes.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>

using namespace pelzo;

Q_DECLARE_METATYPE(std::function<bool(const pelzo::Form1 &)>)

namespace {

using Moment = std::function<bool(const Form1 &)>;

// An update's connect phase and transfer run from the timers after the click returns.
constexpr int UpdateTimeoutMs = 60000;
// The transfer's stall time-out, shortened from 30 s so that a silent device is given up soon.
constexpr int TestStallTimeoutMs = 3000;
// How often the test looks whether the moment to kill the emulator has come.
constexpr int KillPollMs = 5;
constexpr int ImageBytes = 30000;

const QString UpdateNotFinished = QStringLiteral("The update did not finish: the device has not answered for 3 seconds.");

} // namespace

class TestLinkFaultsE2e : public QObject
{
    Q_OBJECT

private slots:
    void deviceGoneMidAction_data();
    void deviceGoneMidAction();
};

void TestLinkFaultsE2e::deviceGoneMidAction_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Moment>("killWhen"); // empty: the emulator drops the link by itself
    QTest::addColumn<QString>("box");     // the message box, empty when the log says it
    QTest::addColumn<QString>("logHas");
    QTest::addColumn<QStringList>("disabled"); // buttons a failed action leaves disabled

    const Moment never;
    QTest::newRow("link dropped at the read request")
        << QStringList{"--hangup-in", "read"} << "Command6" << never << "Port is open or no" << QString()
        << QStringList{"Command7"};
    QTest::newRow("emulator killed while the read asks again")
        << QStringList{"--no-read-end"} << "Command6"
        << Moment([](const Form1 &f) { return f.activityLog().contains(QStringLiteral("Reading 2/20")); })
        << "Port is open or no" << QString() << QStringList{"Command7"};
    QTest::newRow("link dropped at the first setting of a write")
        << QStringList{"--hangup-in", "write"} << "Command7" << never << QString()
        << QStringLiteral("Write fail，Please try again.") << QStringList();
    QTest::newRow("emulator killed before it confirms a Wi-Fi apply")
        << QStringList{"--answer-delay", "3000"} << "Command8"
        << Moment([](const Form1 &f) { return f.activityLog().startsWith(QStringLiteral("WIFI Writing")); })
        << QString() << QStringLiteral("WIFI Write Fail") << QStringList();
    QTest::newRow("link dropped at the reset before an update")
        << QStringList{"--hangup-in", "reset"} << "Command2" << never << "Port is use or no"
        << QStringLiteral("Reset eeram fail,Please try again.") << QStringList();
    QTest::newRow("link dropped as block 3 arrives")
        << QStringList{"--hangup-in", "block:3"} << "Command2" << never << QString() << UpdateNotFinished
        << QStringList();
    QTest::newRow("emulator killed in the middle of the block transfer")
        << QStringList{"--block-write-ms", "50"} << "Command2"
        << Moment([](const Form1 &f) { return f.firmware.BlockIndex >= 5; }) << QString() << UpdateNotFinished
        << QStringList();
}

void TestLinkFaultsE2e::deviceGoneMidAction()
{
    QFETCH(QStringList, options);
    QFETCH(QString, button);
    QFETCH(Moment, killWhen);
    QFETCH(QString, box);
    QFETCH(QString, logHas);
    QFETCH(QStringList, disabled);

    QTemporaryDir dir;
    QTemporaryDir home; // the user's own files
    const QString imagePath = QDir(home.path()).filePath(QStringLiteral("pelzo.bin"));
    QVERIFY(writeBytes(imagePath, imageBytes(ImageBytes)));
    const FolderSnapshot userFiles(home.path());

    EmulatorProcess sim(dir.path(), options);
    QVERIFY(sim.ready);
    const QString portPath = QDir(dir.path()).filePath(QStringLiteral("ports/COM1"));
    const QString devicePath = QFileInfo(portPath).symLinkTarget();
    EmulatedWindow window(dir.path());
    Form1 &form = window.form;
    form.firmware.stallTimeoutMs = TestStallTimeoutMs;
    window.chooseImage(imagePath);
    QCOMPARE(form.firmware.RomLength, ImageBytes);
    // A configuration to write, as the user would start from.
    buttonNamed(form, "Command0")->click();
    QMap<QString, QString> captions;
    for (QPushButton *b : form.findChildren<QPushButton *>())
        captions.insert(b->objectName(), b->text());
    if (button == QLatin1String("Command6"))
        captions.insert(button, QStringLiteral("read data"));

    QTimer killer;
    bool killed = false;
    if (killWhen) {
        QObject::connect(&killer, &QTimer::timeout, [&] {
            if (!killed && killWhen(form)) {
                ::kill(pid_t(sim.process.processId()), SIGKILL);
                killed = true;
            }
        });
        killer.start(KillPollMs);
    }

    QElapsedTimer wall;
    wall.start();
    const qint64 cpuBefore = processCpuMs();
    form.control<QPushButton>(button.toLatin1().constData())->click();
    QTRY_VERIFY_WITH_TIMEOUT(!form.firmware.updateInProgress, UpdateTimeoutMs);
    const double actionShare = double(processCpuMs() - cpuBefore) / double(qMax<qint64>(1, wall.elapsed()));
    killer.stop();

    QVERIFY(!killWhen || killed);
    QVERIFY(sim.process.state() == QProcess::NotRunning
            || sim.process.waitForFinished(EmulatorProcess::StartTimeoutMs));

    // What the user was told.
    QStringList boxes;
    for (const QString &shown : std::as_const(window.platform.boxes))
        boxes << shown.section(QLatin1Char('|'), 0, 0);
    QCOMPARE(boxes, box.isEmpty() ? QStringList() : QStringList{box});
    if (!box.isEmpty())
        QVERIFY2(window.platform.boxes[0].contains(QStringLiteral("COM1")), qPrintable(window.platform.boxes[0]));
    if (!logHas.isEmpty())
        QVERIFY2(form.activityLog().contains(logHas), qPrintable(form.activityLog()));

    // The port is let go, on our side and in the system.
    QVERIFY(!form.port().isOpen());
    QVERIFY(!processHolds(devicePath));
    QVERIFY(!processHoldsLock(devicePath));

    // No core spins, neither during the action nor after it.
    QVERIFY2(actionShare < SpinningShare, qPrintable(QString::number(actionShare)));
    const double idleShare = idleCoreShare();
    QVERIFY2(idleShare < SpinningShare, qPrintable(QString::number(idleShare)));

    // The buttons are back at rest and the window answers a click.
    for (QPushButton *b : form.findChildren<QPushButton *>())
        QCOMPARE(b->text(), captions.value(b->objectName()));
    for (int i = 0; i <= 9; ++i) {
        const QString name = QStringLiteral("Command%1").arg(i);
        if (i != 3) // never shown
            QCOMPARE(form.control<QPushButton>(name.toLatin1().constData())->isEnabled(), !disabled.contains(name));
    }
    QVERIFY(comboNamed(form, "Combo1")->isEnabled());
    buttonNamed(form, "Command0")->click();
    QCOMPARE(form.fieldText(Field::Callsign), QStringLiteral("NOCALL"));
    QVERIFY(buttonNamed(form, "Command7")->isEnabled());

    QVERIFY(userFiles.unchanged());
}

QTEST_MAIN(TestLinkFaultsE2e)
#include "tst_linkfaults_e2e.moc"
