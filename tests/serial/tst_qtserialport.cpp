#include "pseudoterminal.h"
#include "serial/linesettings.h"
#include "serial/portfailure.h"
#include "serial/portnames.h"
#include "serial/qtserialport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <time.h>

using namespace pelzo;

namespace {

// A process stuck in a busy loop would use about a whole second.
constexpr qint64 IdleCpuLimitNs = 250'000'000;
constexpr int MeasuredIdleMs = 1000;
constexpr int EventTimeoutMs = 5000;
// The pseudo-terminal hands bytes from its master to the port side in a kernel work queue.
constexpr int PtyHandOverMs = 200;

constexpr char GuestOption[] = "--open-com3-in";

qint64 processCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Run as another user: tries COM3 of the given ports folder and prints why it failed.
int openCom3AndReport(const char *portsFolder)
{
    int argc = 1;
    char name[] = "guest";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QtSerialPort port(QFileInfo(QString::fromLocal8Bit(portsFolder)).path());
    port.setCommPort(3);
    QFile out;
    out.open(stdout, QIODevice::WriteOnly);
    out.write(port.open() ? QByteArray("opened") : portFailureDetail(port).toUtf8());
    return 0;
}

} // namespace

class TestQtSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program.reset(new QTemporaryDir);
        QVERIFY(m_program->isValid());
        m_ports = m_program->filePath(QStringLiteral("ports"));
        QVERIFY(QDir().mkpath(m_ports));
    }

    void fixedTable_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM4 last serial port") << 4 << "/dev/ttyS3";
        QTest::newRow("COM5 first USB adapter") << 5 << "/dev/ttyUSB0";
        QTest::newRow("COM12 last USB adapter") << 12 << "/dev/ttyUSB7";
        QTest::newRow("COM13 first ACM device") << 13 << "/dev/ttyACM0";
    }

    void fixedTable()
    {
        QFETCH(int, number);
        QFETCH(QString, device);
        QCOMPARE(portDevicePath(number, m_program->path()), device);
        QCOMPARE(QtSerialPort(m_program->path()).devicePath(number), device);
    }

    void portsFolderEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("linkTarget"); // empty: a plain file
        QTest::addColumn<QString>("device");
        QTest::newRow("link to a missing device keeps its target") << "COM2" << "/dev/ttyUSB-gone"
                                                                  << "/dev/ttyUSB-gone";
        QTest::newRow("plain file is no link") << "COM4" << "" << "/dev/ttyS3";
        QTest::newRow("link of another port does not count") << "COM10" << "/dev/ttyS0" << "/dev/ttyS0";
    }

    void portsFolderEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, linkTarget);
        QFETCH(QString, device);
        const QString path = QDir(m_ports).filePath(entry);
        if (linkTarget.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QFile::link(linkTarget, path));
        }
        QCOMPARE(portDevicePath(listedPortNumber(entry).value(), m_program->path()), device);
    }

    void writeThenCloseLosesNothing()
    {
        PseudoTerminal pty;
        QVERIFY(QFile::link(pty.slavePath(), QDir(m_ports).filePath(QStringLiteral("COM3"))));
        QtSerialPort port(m_program->path());
        QVERIFY(port.setCommPort(3));
        QVERIFY(port.open());
        QVERIFY(port.write("AT+RESET#\r\n"));
        port.close();
        QByteArray atDevice;
        QTRY_COMPARE_WITH_TIMEOUT((atDevice += pty.received()), QByteArray("AT+RESET#\r\n"), EventTimeoutMs);
    }

    // An answer that came after the last exchange closed the port (a device
    // that answered too late) waits in the system; the next exchange must not
    // take it for its own.
    void bytesFromBeforeTheOpenAreDropped()
    {
        PseudoTerminal pty;
        QVERIFY(QFile::link(pty.slavePath(), QDir(m_ports).filePath(QStringLiteral("COM3"))));
        QtSerialPort port(m_program->path());
        QByteArray received;
        port.onReceive = [&] { received += port.readAll(); };
        QVERIFY(port.setCommPort(3));
        QVERIFY(port.open());
        port.close();
        QVERIFY(pty.send("freq save\r\n"));
        QTest::qWait(PtyHandOverMs);

        QVERIFY(port.open());
        QVERIFY(pty.send("CONNECT\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(received, QByteArray("CONNECT\r\n"), EventTimeoutMs);
    }

    void farEndClosingClosesThePortOnce()
    {
        PseudoTerminal pty;
        QVERIFY(QFile::link(pty.slavePath(), QDir(m_ports).filePath(QStringLiteral("COM3"))));
        QtSerialPort port(m_program->path());
        int lost = 0;
        port.onLinkLost = [&] { ++lost; };
        QVERIFY(port.setCommPort(3));
        QVERIFY(port.open());

        pty.hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(lost, 1, EventTimeoutMs);
        QVERIFY(!port.isOpen());
        QVERIFY(!port.lastError().isEmpty());

        const qint64 before = processCpuNs();
        QTest::qWait(MeasuredIdleMs);
        const qint64 used = processCpuNs() - before;
        QVERIFY2(used < IdleCpuLimitNs, qPrintable(QStringLiteral("%1 ms of CPU in a second").arg(used / 1000000)));
        QCOMPARE(lost, 1);
        QVERIFY(!port.write("AT+READ#\r\n"));
    }

    // Two names for one device share one lock, so two programs cannot both open it.
    void deviceBusyThroughAnotherName()
    {
        PseudoTerminal pty;
        QVERIFY(QFile::link(pty.slavePath(), QDir(m_ports).filePath(QStringLiteral("COM3"))));
        QVERIFY(QFile::link(pty.slavePath(), QDir(m_ports).filePath(QStringLiteral("COM4"))));
        QtSerialPort first(m_program->path());
        QVERIFY(first.setCommPort(3));
        QVERIFY(first.open());
        QtSerialPort second(m_program->path());
        QVERIFY(second.setCommPort(4));
        QVERIFY(!second.open());
        QVERIFY2(portFailureDetail(second).startsWith(QStringLiteral("COM4 (%1): ").arg(pty.slavePath())),
                 qPrintable(portFailureDetail(second)));
        QVERIFY2(second.lastError().contains(QLatin1String("another program")), qPrintable(second.lastError()));
    }

    void missingDeviceDetail()
    {
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB-gone"), QDir(m_ports).filePath(QStringLiteral("COM9"))));
        QtSerialPort port(m_program->path());
        QVERIFY(port.setCommPort(9));
        QVERIFY(!port.open());
        QCOMPARE(portFailureDetail(port), QStringLiteral("COM9 (/dev/ttyUSB-gone): No such file or directory"));
    }

    void portNumberChanges_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("closed, 1") << false << 1 << true;
        QTest::newRow("closed, 0") << false << 0 << false;
        QTest::newRow("closed, 17") << false << 17 << false;
        QTest::newRow("open, other port") << true << 4 << false;
        QTest::newRow("open, same port") << true << 3 << false;
    }

    void portNumberChanges()
    {
        QFETCH(bool, open);
        QFETCH(int, number);
        QFETCH(bool, accepted);
        PseudoTerminal pty;
        QVERIFY(QFile::link(pty.slavePath(), QDir(m_ports).filePath(QStringLiteral("COM3"))));
        QtSerialPort port(m_program->path());
        QVERIFY(port.setCommPort(3));
        if (open)
            QVERIFY(port.open());
        QCOMPARE(port.setCommPort(number), accepted);
        QCOMPARE(port.commPort(), accepted ? number : 3);
        QCOMPARE(port.lastError().isEmpty(), accepted);
        QCOMPARE(port.isOpen(), open);
    }

    void lineSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("stopBits");
        QTest::newRow("device line") << "115200,n,8,1" << true << 115200 << int(QSerialPort::NoParity) << 8
                                     << int(QSerialPort::OneStop);
        QTest::newRow("even parity, 7 bits, 2 stop") << "9600,E,7,2" << true << 9600 << int(QSerialPort::EvenParity)
                                                     << 7 << int(QSerialPort::TwoStop);
        QTest::newRow("missing part") << "115200,n,8" << false << 0 << 0 << 0 << 0;
        QTest::newRow("unknown parity") << "115200,x,8,1" << false << 0 << 0 << 0 << 0;
    }

    void lineSettings()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto settings = parseLineSettings(text);
        QCOMPARE(settings.has_value(), valid);
        if (!valid) {
            QtSerialPort port(m_program->path());
            QVERIFY(!port.setSettings(text));
            QVERIFY(!port.lastError().isEmpty());
            return;
        }
        QFETCH(int, baud);
        QFETCH(int, parity);
        QFETCH(int, dataBits);
        QFETCH(int, stopBits);
        QCOMPARE(settings->baudRate, baud);
        QCOMPARE(int(settings->parity), parity);
        QCOMPARE(int(settings->dataBits), dataBits);
        QCOMPARE(int(settings->stopBits), stopBits);
    }

    // A user outside the device's group is told how to get access.
    void permissionDeniedNamesTheGroup()
    {
        if (::geteuid() != 0)
            QSKIP("only root can hand a device to another user");
        const group *dialout = ::getgrnam("dialout");
        const passwd *nobody = ::getpwnam("nobody");
        if (!dialout || !nobody)
            QSKIP("needs the group dialout and the user nobody");
        const gid_t guestGroup = nobody->pw_gid;
        const uid_t guest = nobody->pw_uid;

        PseudoTerminal pty;
        const QByteArray device = QFile::encodeName(pty.slavePath());
        QCOMPARE(::chown(device.constData(), 0, dialout->gr_gid), 0);
        QCOMPARE(::chmod(device.constData(), 0660), 0);
        QVERIFY(QFile::link(pty.slavePath(), QDir(m_ports).filePath(QStringLiteral("COM3"))));
        QVERIFY(QFile::setPermissions(m_program->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                             QFile::ReadOther | QFile::ExeOther));

        QProcess guestRun;
        guestRun.setProgram(QCoreApplication::applicationFilePath());
        guestRun.setArguments({QLatin1String(GuestOption), m_ports});
        guestRun.setChildProcessModifier([guest, guestGroup] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(guestGroup) != 0 || ::setuid(guest) != 0)
                ::_exit(111);
        });
        guestRun.start();
        QVERIFY(guestRun.waitForFinished(30000));
        QCOMPARE(guestRun.exitCode(), 0);
        const QString detail = QString::fromUtf8(guestRun.readAllStandardOutput());
        QVERIFY2(detail.startsWith(QStringLiteral("COM3 (%1): Permission denied").arg(pty.slavePath())),
                 qPrintable(detail));
        QVERIFY2(detail.contains(QLatin1String("group \"dialout\"")), qPrintable(detail));
        QVERIFY2(!detail.contains(QLatin1String("another program")), qPrintable(detail));
    }

    void noHintWhenAccessIsAllowed()
    {
        PseudoTerminal pty;
        QVERIFY(!deviceAccessDenied(pty.slavePath()));
        QVERIFY(!deviceAccessDenied(QStringLiteral("/dev/ttyUSB-gone")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_program;
    QString m_ports;
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], GuestOption) == 0)
        return openCom3AndReport(argv[2]);
    QApplication app(argc, argv);
    TestQtSerialPort test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qtserialport.moc"
