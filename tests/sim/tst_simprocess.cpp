#include "hostflasher.h"
#include "ptyport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

constexpr int kAnswerTimeoutMs = 10'000;
constexpr int kConnectRetryMs = 200;
constexpr int kPollMs = 20;
constexpr int kMaxTransferSteps = 1000;

// One run of pelzo-sim; stopped with SIGTERM when it goes out of scope.
class SimProcess {
public:
    explicit SimProcess(const QStringList &arguments)
    {
        process.start(QStringLiteral(PELZO_SIM_EXECUTABLE), arguments);
        if (process.waitForStarted() && process.waitForReadyRead(kAnswerTimeoutMs))
            path = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~SimProcess() { stop(); }

    bool stop()
    {
        if (process.state() != QProcess::NotRunning)
            process.terminate();
        return process.waitForFinished(kAnswerTimeoutMs) || process.state() == QProcess::NotRunning;
    }

    QProcess process;
    QString path;
};

bool waitForFile(const QString &path)
{
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QThread::msleep(kPollMs);
    return QFile::exists(path);
}

QByteArray read(PtyPort &port)
{
    return port.write("AT+READ#\r\n") ? port.readUntil("READ END\r\n", kAnswerTimeoutMs) : QByteArray();
}

} // namespace

class TestSimProcess : public QObject {
    Q_OBJECT

private slots:
    void helpNamesEveryOption();
    void configurationPersistsAcrossRuns();
    void flashesImage_data();
    void flashesImage();
    void linkLivesAsLongAsTheEmulator_data();
    void linkLivesAsLongAsTheEmulator();
};

void TestSimProcess::helpNamesEveryOption()
{
    QProcess help;
    help.start(QStringLiteral(PELZO_SIM_EXECUTABLE), {"--help"});
    QVERIFY(help.waitForFinished(kAnswerTimeoutMs));
    const QByteArray text = help.readAllStandardOutput();
    for (const char *option : {"--link", "--state", "--flash-out", "--trace", "--firmware-version", "--reboot-ms",
                               "--silent", "--no-read-end", "--answer-delay", "--pieces", "--piece-pause", "--noise",
                               "--nul", "--unterminated-line", "--hangup-after-bytes", "--hangup-in", "--no-bootloader",
                               "--ask-repeat-every", "--silent-after-block", "--boot-stray", "--block-write-ms",
                               "--pace"})
        QVERIFY2(text.contains(option), option);
}

void TestSimProcess::configurationPersistsAcrossRuns()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("state.txt");
    const QString trace = dir.filePath("trace.txt");
    {
        SimProcess sim({"--state", state, "--trace", trace});
        PtyPort port;
        QVERIFY2(port.open(sim.path), qPrintable(sim.path));
        QVERIFY(port.write("\r\nSETUP#\r\n"));
        QCOMPARE(port.readUntil("\r\n", kAnswerTimeoutMs), QByteArray("CONNECT\r\n"));
        const QByteArray factory = read(port);
        QVERIFY2(factory.startsWith("CALLSIGN:NOCALL-10\r\n"), factory);
        QCOMPARE(factory.count("\r\n"), 21);
        QVERIFY(port.write("AT+CALL,DL1ABC-7#\r\nAT+COMMENT,Grüße#\r\n\r\nAT+FREQ,144.8000#\r\n"));
        QCOMPARE(port.readUntil("\r\n", kAnswerTimeoutMs), QByteArray("freq save\r\n"));
        port.close();  // the program closing its port is not a dropped link
        QVERIFY(port.open(sim.path));
        const QByteArray changed = read(port);
        QVERIFY2(changed.contains("CALLSIGN:DL1ABC-7\r\n") && changed.contains("COMMENT TEXT:Grüße\r\n"), changed);
        QVERIFY(sim.stop());
        QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process.exitCode(), 0);
    }
    QFile traceFile(trace);
    QVERIFY(traceFile.open(QIODevice::ReadOnly));
    const QByteArray traced = traceFile.readAll();
    QVERIFY(traced.contains("host>dev") && traced.contains("dev>host") && traced.contains("AT+READ#"));

    SimProcess again({"--state", state});
    PtyPort port;
    QVERIFY(port.open(again.path));
    const QByteArray restored = read(port);
    QVERIFY2(restored.contains("CALLSIGN:DL1ABC-7\r\n") && restored.contains("FREQ:144.8000\r\n"), restored);
}

void TestSimProcess::flashesImage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("well-behaved device") << QStringList();
    QTest::newRow("device asking with 0x55 every 2nd block") << QStringList{"--ask-repeat-every", "2"};
    QTest::newRow("paced input and slow block writes") << QStringList{"--pace", "--block-write-ms", "20"};
}

void TestSimProcess::flashesImage()
{
    QFETCH(QStringList, options);
    QTemporaryDir dir;
    const QString flashOut = dir.filePath("flash.bin");
    SimProcess sim(QStringList{"--flash-out", flashOut} + options);
    PtyPort port;
    QVERIFY(port.open(sim.path));
    QVERIFY(port.write("AT+RESET#\r\n"));
    QCOMPARE(port.readUntil("\r\n", kAnswerTimeoutMs), QByteArray("eeram reset\r\n"));
    QVERIFY(port.write("REBOOT#\r\n"));

    const QByteArray image = HostFlasher::testImage(10 * 1024);
    HostFlasher flasher(image);
    QByteArray answer;
    const QDeadlineTimer connectDeadline(kAnswerTimeoutMs);
    while (answer.isEmpty() && !connectDeadline.hasExpired()) {
        QVERIFY(port.write(HostFlasher::kConnectRequest));
        answer = port.readAvailable(kConnectRetryMs);
    }
    for (int step = 0; step < kMaxTransferSteps && !flasher.done() && !answer.isEmpty(); ++step) {
        for (char byte : answer)
            QVERIFY(port.write(flasher.answer(byte)));
        if (!flasher.done())
            answer = port.readAvailable(kAnswerTimeoutMs);
    }
    QVERIFY(flasher.done());
    QVERIFY(waitForFile(flashOut));
    QFile flashed(flashOut);
    QVERIFY(flashed.open(QIODevice::ReadOnly));
    QCOMPARE(flashed.readAll(), image);

    QVERIFY(port.write("\r\nSETUP#\r\n"));
    QCOMPARE(port.readUntil("\r\n", kAnswerTimeoutMs), QByteArray("CONNECT\r\n"));
}

void TestSimProcess::linkLivesAsLongAsTheEmulator_data()
{
    QTest::addColumn<bool>("staleLink");
    QTest::addColumn<bool>("dropLink");
    QTest::newRow("stopped by SIGTERM") << false << false;
    QTest::newRow("stale link replaced") << true << false;
    QTest::newRow("device drops the link in the read") << false << true;
}

void TestSimProcess::linkLivesAsLongAsTheEmulator()
{
    QFETCH(bool, staleLink);
    QFETCH(bool, dropLink);
    QTemporaryDir dir;
    const QString link = dir.filePath("missing/parent/pelzo");
    if (staleLink) {
        QVERIFY(QDir().mkpath(dir.filePath("missing/parent")));
        QVERIFY(QFile::link(dir.filePath("gone"), link));
    }
    SimProcess sim(dropLink ? QStringList{"--link", link, "--hangup-in", "read"} : QStringList{"--link", link});
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.path);
    PtyPort port;
    QVERIFY(port.open(link));
    QVERIFY(port.write("SETUP#\r\n"));
    QCOMPARE(port.readUntil("\r\n", kAnswerTimeoutMs), QByteArray("CONNECT\r\n"));
    if (dropLink) {
        QVERIFY(port.write("AT+READ#\r\n"));
        QVERIFY(port.waitForHangup(kAnswerTimeoutMs));
        QVERIFY(sim.process.waitForFinished(kAnswerTimeoutMs));
    } else {
        QVERIFY(sim.stop());
    }
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_simprocess.moc"
