// What only real ports tell: the program's serial port on the pseudo-terminal
// that pelzo-sim serves, other processes holding it, users without rights,
// and the window closed while it waits.
#include "emulatorprocess.h"
#include "filebytes.h"

#include "testing/virtualplatform.h"
#include "serial/portfailure.h"
#include "serial/portholders.h"
#include "serial/qtserialport.h"
#include "settingsfile/savefile.h"
#include "ui/form1.h"
#include "ui/windowplatform.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelzo;

namespace {

constexpr int TimeoutMs = 10000;

// The name a process runs under: a shell that execs its program changes it.
QString processName(qint64 pid)
{
    return QString::fromUtf8(readBytes(QString("/proc/%1/comm").arg(pid))).trimmed();
}

// The same executable, started again, plays the other process:
//   hold PATH      another copy of the program: holds the port until its input ends
//   open FOLDER    a user's program: tries COM1 of FOLDER, prints the failure detail
//   save PATH      saves a settings file as Save file does, prints the ActivityLog
int playOtherProcess(const QString &role, const QString &argument)
{
    QTextStream out(stdout);
    if (role == "hold") {
        QSerialPort port(argument);
        out << (port.open(QIODevice::ReadWrite) ? "held" : "failed") << Qt::endl;
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    if (role == "open") {
        QtSerialPort port(argument);
        out << (port.setCommPort(1) && port.open() ? QStringLiteral("opened") : portFailureDetail(port));
        return 0;
    }
    VirtualPlatform platform;
    Form1 form(platform);
    platform.saveAnswers << argument;
    saveFile(form);
    out << form.activityLog();
    return 0;
}

// A throwaway user, whom file modes bind as they do not bind root; this
// executable runs again as that user to play the other process.
struct ThrowawayUser
{
    const QString name = QString("pelzo-t%1").arg(QCoreApplication::applicationPid());
    const bool made = QProcess::execute("useradd", {"-M", "-N", "-s", "/usr/sbin/nologin", name}) == 0;
    ~ThrowawayUser()
    {
        if (made)
            QProcess::execute("userdel", {name});
    }

    bool own(const QString &path) const
    {
        const passwd *entry = getpwnam(qPrintable(name));
        return entry && chown(QFile::encodeName(path).constData(), entry->pw_uid, entry->pw_gid) == 0;
    }

    // What the role prints; runtimeFolder is the user's own, for Qt's runtime files.
    QString play(const QString &role, const QString &argument, const QString &runtimeFolder) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtimeFolder);
        process.setProcessEnvironment(environment);
        process.start("runuser", {"-u", name, "--", QCoreApplication::applicationFilePath(), role, argument});
        process.waitForFinished();
        if (const QByteArray errors = process.readAllStandardError(); !errors.isEmpty())
            qWarning("%s", errors.constData());
        return QString::fromUtf8(process.readAllStandardOutput());
    }
};

} // namespace

class TestRealPorts : public QObject
{
    Q_OBJECT

private slots:
    void lateBytesAreDroppedAndTheDeviceAnswers()
    {
        // The device speaks up before the program opens the port; that must not pass for an answer.
        Emulator emulator({"--send-at", "0:667265712073617665"});
        QVERIFY(emulator.ready);
        QTest::qWait(300);
        QtSerialPort port(emulator.folder());
        QByteArray received;
        port.onReceive = [&] { received += port.readAll(); };
        QVERIFY(port.setCommPort(1) && port.setSettings("115200,n,8,1") && port.open());
        QVERIFY(port.write("\r\nSETUP#\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(received, QByteArray("CONNECT\r\n"), TimeoutMs);
    }

    void whatIsWrittenBeforeACloseArrives()
    {
        Emulator emulator({});
        QVERIFY(emulator.ready);
        QtSerialPort port(emulator.folder());
        QVERIFY(port.setCommPort(1) && port.setSettings("115200,n,8,1") && port.open());
        // Some kilobytes in many writes, the last of them just before the close.
        for (int i = 0; i < 60; ++i)
            QVERIFY(port.write("AT+COMMENT," + QByteArray::number(i).repeated(20) + "#\r\n"));
        port.close();
        QTRY_VERIFY_WITH_TIMEOUT(emulator.state().contains("COMMENT TEXT:" + QByteArray("59").repeated(20) + "\n"),
                                 TimeoutMs);
    }

    void aHangUpClosesThePortOnceWithoutSpinning()
    {
        Emulator emulator({"--hangup-at", "500"});
        QVERIFY(emulator.ready);
        QtSerialPort port(emulator.folder());
        int lost = 0;
        port.onLinkLost = [&] { ++lost; };
        QVERIFY(port.setCommPort(1) && port.setSettings("115200,n,8,1") && port.open());
        QTRY_COMPARE_WITH_TIMEOUT(lost, 1, TimeoutMs);
        // Qt reports a read error in a tight loop for as long as the port stays open.
        QVERIFY(!port.isOpen() && !port.lastError().isEmpty());
        QVERIFY(emulator.exited());
        QCoreApplication::processEvents();
        QCOMPARE(lost, 1);
        QVERIFY(!port.write("AT+READ#\r\n"));
    }

    void aHeldPortIsRefusedAndNamesItsHolder_data()
    {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QString>("holder");
        QTest::newRow("a terminal program's flock") << "exec flock --no-fork --exclusive DEVICE sleep 60" << "sleep";
        QTest::newRow("a lock file and no flock") << "printf '%10d\\n' $$ > LOCKFILE; exec sleep 60" << "sleep";
        QTest::newRow("the device open, no lock at all") << "exec sleep 60 < DEVICE" << "sleep";
        QTest::newRow("another copy of the program") << "exec SELF hold DEVICE" << "tst_realports";
    }
    void aHeldPortIsRefusedAndNamesItsHolder()
    {
        QFETCH(QString, shell);
        QFETCH(QString, holder);
        Emulator emulator({});
        QVERIFY(emulator.ready);
        const QString device = emulator.device();
        const QString lockFile = "/var/lock/LCK.." + device.mid(5).replace('/', '_');
        QProcess holding;
        shell.replace("DEVICE", device).replace("LOCKFILE", lockFile);
        holding.start("sh", {"-c", shell.replace("SELF", QCoreApplication::applicationFilePath())});
        QVERIFY(holding.waitForStarted(TimeoutMs));
        QTRY_COMPARE_WITH_TIMEOUT(processName(holding.processId()), holder, TimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockFile) || !processesWithDeviceOpen(device).isEmpty(), TimeoutMs);

        QtSerialPort port(emulator.folder());
        QVERIFY(port.setCommPort(1));
        QVERIFY(!port.open());
        const QString detail = portFailureDetail(port);
        QVERIFY2(detail.contains(QString("%1 (pid %2)").arg(holder).arg(holding.processId())), qPrintable(detail));
        QVERIFY2(detail.contains("then try again"), qPrintable(detail));
        QVERIFY2(!emulator.trace().contains("host>dev"), "nothing reached the device");

        holding.kill();
        QVERIFY(holding.waitForFinished(TimeoutMs));
        QVERIFY2(port.open(), qPrintable(port.lastError()));
        QCOMPARE(readBytes(lockFile).split('\n').value(0).trimmed().toLongLong(), QCoreApplication::applicationPid());
        // While this program holds the port, an flock taker is kept out too.
        QCOMPARE(QProcess::execute("flock", {"--nonblock", device, "true"}), 1);
        port.close();
        QCOMPARE(QProcess::execute("flock", {"--nonblock", device, "true"}), 0);
    }

    void aUserWithoutRightsIsToldWhy()
    {
        if (geteuid() != 0)
            QSKIP("only root can run a program as somebody else");
        const ThrowawayUser user;
        QVERIFY(user.made);
        Emulator emulator({});
        QVERIFY(emulator.ready);
        const group *dialout = getgrnam("dialout");
        QVERIFY(dialout);
        const QByteArray device = QFile::encodeName(emulator.device());
        QCOMPARE(chown(device.constData(), 0, dialout->gr_gid), 0);
        QCOMPARE(chmod(device.constData(), 0660), 0);
        QTemporaryDir runtime;
        QVERIFY(user.own(runtime.path()) && user.own(emulator.folder()));
        const QString detail = user.play("open", emulator.folder(), runtime.path());
        QVERIFY2(detail.startsWith(QString("COM1 (%1): Permission denied").arg(emulator.device())), qPrintable(detail));
        QVERIFY2(detail.contains("group \"dialout\""), qPrintable(detail));

        // A save the user may not make leaves the earlier file as it was and says so.
        QTemporaryDir locked;
        const QString file = locked.filePath("station.ini");
        QVERIFY(writeBytes(file, "earlier"));
        QVERIFY(QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                         QFile::ReadOther | QFile::ExeOther));
        const QString log = user.play("save", file, runtime.path());
        QVERIFY2(log.contains("Could not save") && log.contains("unchanged"), qPrintable(log));
        QCOMPARE(readBytes(file), QByteArray("earlier"));
    }

    void closingTheWindowDuringAWaitEndsEverything()
    {
        Emulator emulator({"--no-connect"});
        QVERIFY(emulator.ready);
        WindowPlatform platform(std::make_unique<QtSerialPort>(emulator.folder()), emulator.folder());
        auto form = std::make_unique<Form1>(platform);
        QPointer<Form1> window = form.get();
        form->load();
        form->port().setCommPort(1);
        form->show();
        QTimer::singleShot(1500, window, [window] { window->close(); });
        form->control<QPushButton>("Command6")->click();
        QVERIFY(!form->port().isOpen());
        const int probes = int(emulator.trace().count("SETUP#"));
        QTest::qWait(1500);
        QCOMPARE(int(emulator.trace().count("SETUP#")), probes);
        QVERIFY(probes >= 1 && probes <= 2);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && QStringList{"hold", "open", "save"}.contains(argv[1]))
        return playOtherProcess(argv[1], QString::fromLocal8Bit(argv[2]));
    TestRealPorts test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_realports.moc"
