// Ports that other programs hold, each holder a process of its own on the
// pseudo-terminal that pelzo-sim serves.
#include "emulatedwindow.h"
#include "serial/portholders.h"

#include <QTemporaryDir>
#include <QTest>

using namespace pelzo;

namespace {

constexpr int ProcessTimeoutMs = 10000;

QString lockFileFor(const QString &device)
{
    return QStringLiteral("/var/lock/LCK..") + device.mid(5).replace(QLatin1Char('/'), QLatin1Char('_'));
}

bool heldBy(const QString &device, qint64 pid)
{
    for (const PortHolder &holder : processesWithDeviceOpen(device)) {
        if (holder.pid == pid)
            return true;
    }
    return false;
}

struct Rig
{
    Rig() : emulator(dir.path(), {QStringLiteral("--trace"), dir.filePath(QStringLiteral("trace.txt"))})
    {
        device = QFileInfo(dir.filePath(QStringLiteral("ports/COM1"))).symLinkTarget();
    }

    // The bytes the device received so far, as its trace records them.
    int hostLines()
    {
        QFile trace(dir.filePath(QStringLiteral("trace.txt")));
        return trace.open(QIODevice::ReadOnly) ? int(trace.readAll().count("host>dev")) : -1;
    }

    QTemporaryDir dir;
    EmulatorProcess emulator;
    QString device;
};

} // namespace

class TestPortHolders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFileInfo(QStringLiteral("/var/lock")).isWritable())
            QSKIP("the lock folder is not writable for this user");
    }

    void aHeldPortIsRefusedAndNamesItsHolder_data()
    {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<bool>("holderOpensDevice");
        QTest::newRow("a terminal program's flock") << "exec flock --no-fork --exclusive DEVICE sleep 60" << true;
        QTest::newRow("a lock file and no flock") << "printf '%10d\\n' $$ > LOCKFILE; exec sleep 60" << false;
        QTest::newRow("the device open, no lock at all") << "exec sleep 60 < DEVICE" << true;
    }
    void aHeldPortIsRefusedAndNamesItsHolder()
    {
        QFETCH(QString, shell);
        QFETCH(bool, holderOpensDevice);
        Rig station;
        QVERIFY(station.emulator.ready);
        QProcess holder;
        holder.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString(shell).replace(QLatin1String("DEVICE"), station.device)
                                                        .replace(QLatin1String("LOCKFILE"), lockFileFor(station.device))});
        QVERIFY(holder.waitForStarted(ProcessTimeoutMs));
        QTRY_VERIFY_WITH_TIMEOUT(holderOpensDevice ? heldBy(station.device, holder.processId())
                                                   : QFileInfo::exists(lockFileFor(station.device)),
                                 ProcessTimeoutMs);

        EmulatedWindow window(station.dir.path());
        buttonNamed(window.form, "Command6")->click();
        QCOMPARE(window.platform.boxes.size(), 1);
        const QString box = window.platform.boxes.front();
        QVERIFY2(box.startsWith(QStringLiteral("Port is open or no|")), qPrintable(box));
        QVERIFY2(box.contains(QStringLiteral("sleep (pid %1)").arg(holder.processId())), qPrintable(box));
        QCOMPARE(station.hostLines(), 0);

        holder.kill();
        QVERIFY(holder.waitForFinished(ProcessTimeoutMs));
        window.platform.boxes.clear();
        buttonNamed(window.form, "Command6")->click();
        QVERIFY2(window.form.activityLog().endsWith(QStringLiteral("read ok")), qPrintable(window.form.activityLog()));
        QCOMPARE(window.platform.boxes, QStringList());
        QVERIFY2(!QFileInfo::exists(lockFileFor(station.device)), "the dead holder's lock file is cleared");
    }

    void whileTheProgramHoldsThePortAnFlockTakerIsKeptOut()
    {
        Rig station;
        QVERIFY(station.emulator.ready);
        QtSerialPort port(station.dir.path());
        QVERIFY(port.setCommPort(1));
        QVERIFY2(port.open(), qPrintable(port.lastError()));
        const auto flockTaker = [&station] {
            return QProcess::execute(QStringLiteral("flock"),
                                     {QStringLiteral("--nonblock"), station.device, QStringLiteral("true")});
        };
        QCOMPARE(flockTaker(), 1);
        port.close();
        QCOMPARE(flockTaker(), 0);
    }
};

QTEST_MAIN(TestPortHolders)
#include "tst_portholders_e2e.moc"
