// pelzo-cli as a script runs it, against pelzo-sim processes: what the
// devices hold afterwards, the exit status, Ctrl+C.
#include "emulatorprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>

namespace {

constexpr int TimeoutMs = 60000;

struct Run
{
    int exit = -1;
    QByteArray out, err;
};

Run cli(const QStringList &arguments, const QString &folder, const std::function<void(QProcess &)> &during = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(PELZO_CLI_EXECUTABLE), arguments);
    process.waitForStarted(TimeoutMs);
    if (during)
        during(process);
    process.waitForFinished(TimeoutMs);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace

class TestCliE2e : public QObject
{
    Q_OBJECT

private slots:
    void aFleetIsWrittenInParallelFromOneFile()
    {
        Emulator first({}), second({});
        QVERIFY(first.ready && second.ready);
        QCOMPARE(cli({"defaults", "-o", "base.ini"}, first.folder()).exit, 0);
        // One port by a link relative to where the command runs, one by its device.
        const QStringList names{"ports/COM1", second.device()};
        bool together = false;
        const Run run = cli({"-p", names[0], "-p", names[1], "write", "base.ini", "COMMENT_TEXT=club net", "FREQ=144.8000"},
                            first.folder(), [&](QProcess &process) {
                                // One after the other, the first is verified before the second hears a byte.
                                process.setReadChannel(QProcess::StandardError);
                                QTRY_VERIFY_WITH_TIMEOUT(process.peek(1 << 16).contains(": verified"), TimeoutMs);
                                together = first.state().contains("FREQ:144.8000") &&
                                           second.state().contains("FREQ:144.8000");
                            });
        QVERIFY2(run.exit == 0, run.err.constData());
        for (const Emulator *device : {&first, &second}) {
            QVERIFY(device->state().contains("COMMENT TEXT:club net\n") && device->state().contains("FREQ:144.8000\n"));
            const QByteArray name = names[device == &second].toUtf8();
            QVERIFY2(run.err.contains(name + ": " + name) && run.err.contains("verified: the 15 written fields hold"),
                     run.err.constData());
        }
        QVERIFY2(together, "both devices had their last setting before either was verified");

        const Run ports = cli({"--json", "ports"}, first.folder());
        QCOMPARE(ports.exit, 0);
        const Run missing = cli({"-p", "/dev/ttyUSB-gone", "read"}, first.folder());
        QCOMPARE(missing.exit, 2);
        // Named as typed, not as the COM number it stands in for.
        QVERIFY2(missing.out.isEmpty() && missing.err.contains("pelzo-cli: /dev/ttyUSB-gone: No such file or directory")
                     && !missing.err.contains("COM1"),
                 missing.err.constData());
    }

    void aFleetEndsWithItsWorstStatusAndNamesTheStationThatFailed()
    {
        Emulator one({}), two({}), mute({QStringLiteral("--no-read-end")}), four({});
        QVERIFY(one.ready && two.ready && mute.ready && four.ready);
        const Run run = cli({"-p", one.device(), "-p", two.device(), "-p", mute.device(), "-p", four.device(), "read"},
                            one.folder());
        QCOMPARE(run.exit, 3);
        for (const Emulator *station : {&one, &two, &four})
            QVERIFY2(run.out.contains(station->device().toUtf8() + ": [PELZO]"), run.out.constData());
        QVERIFY2(run.err.contains("pelzo-cli: 1 of 4 ports failed: " + mute.device().toUtf8() + " (exit 3)\n"),
                 run.err.constData());
    }

    void restartReachesTheDevice()
    {
        Emulator device({});
        QVERIFY(device.ready);
        QCOMPARE(cli({"-q", "-p", "ports/COM1", "restart"}, device.folder()).exit, 0);
        QVERIFY2(device.trace().contains("bootloader waiting"), device.trace().constData());
    }

    void aFlashedStationKeepsItsConfigurationAndItsBackupEqualsIt()
    {
        Emulator device({QStringLiteral("--block-write-ms"), QStringLiteral("20")});
        QVERIFY(device.ready);
        QVERIFY(writeBytes(device.file("image.bin"), imageBytes(20 * 1024)));
        QCOMPARE(cli({"-q", "-p", "ports/COM1", "set", "CALLSIGN=BG5ZZ-10", "COMMENT_TEXT=keep me"}, device.folder()).exit, 0);
        const QByteArray before = device.state();
        const Run flash = cli({"-p", "ports/COM1", "flash", "image.bin"}, device.folder());
        QVERIFY2(flash.exit == 0, flash.err.constData());
        QCOMPARE(device.flashed(), imageBytes(20 * 1024));
        QCOMPARE(device.state(), before);
        // The backup is the settings file of the station as it was, under its callsign and the time.
        const QDir backups(QFileInfo(QStringLiteral(PELZO_CLI_EXECUTABLE)).dir().filePath("backups"));
        const QStringList kept = backups.entryList({"BG5ZZ-10-*.ini"}, QDir::Files, QDir::Time);
        QVERIFY(!kept.isEmpty() && flash.err.contains(backups.filePath(kept.front()).toUtf8()));
        const Run read = cli({"-q", "-p", "ports/COM1", "read"}, device.folder());
        QCOMPARE(readBytes(backups.filePath(kept.front())), read.out);
    }

    void aStationWhoseFirmwareDoesNotStartIsRecovered()
    {
        // The owner switches it on at a moment of their own within half a minute.
        const int powerOnMs = 1000 + int(QRandomGenerator::global()->bounded(29000));
        Emulator device({"--dead-firmware", "--power-on-at", QString::number(powerOnMs)});
        QVERIFY(device.ready);
        QVERIFY(writeBytes(device.file("image.bin"), imageBytes(12 * 1024)));
        const Run recover = cli({"-p", "ports/COM1", "flash", "--recover", "image.bin"}, device.folder());
        QVERIFY2(recover.exit == 0, qPrintable(QString::number(powerOnMs) + ": " + recover.err));
        QCOMPARE(device.flashed(), imageBytes(12 * 1024));
        QVERIFY(!device.trace().contains("AT+RESET#") && !device.trace().contains("REBOOT#"));
    }

    void ctrlCDuringAFlashSaysWhereTheDeviceWasLeft()
    {
        Emulator device({QStringLiteral("--block-write-ms"), QStringLiteral("100")});
        QVERIFY(device.ready);
        QVERIFY(writeBytes(device.file("image.bin"), imageBytes(80 * 1024)));
        const Run run = cli({"-p", device.device(), "flash", "image.bin"}, device.folder(), [&](QProcess &process) {
            QTRY_VERIFY_WITH_TIMEOUT(device.trace().contains("header: "), TimeoutMs);
            ::kill(pid_t(process.processId()), SIGINT);
        });
        QCOMPARE(run.exit, 130);
        QVERIFY2(run.err.contains("interrupted at block"), run.err.constData());
        QVERIFY(device.flashed().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCliE2e)
#include "tst_cli_e2e.moc"
