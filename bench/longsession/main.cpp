// A long session, measured. Three parts:
//  1. 200 reads and 200 writes against the emulated device, in virtual time:
//     processor time per operation early and late, memory, and the sizes of
//     Text1, LineBuffer and the ActivityLog.
//  2. An hour of idle in virtual time with Timer2 ticking every 100 ms.
//  3. The real program (pelzo-config) idling as a process of its own, sampled
//     from /proc; plus the time from start to the window shown, in process.
//
//   bench_longsession [--idle-seconds N] [--operations N] [--program PATH]
// N defaults to 600 (ten minutes); 0 leaves part 3's idle out.

#include "testing/virtualplatform.h"
#include "serial/qtserialport.h"
#include "serial/startup.h"
#include "testing/simpeer.h"
#include "ui/form1.h"
#include "ui/windowplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <malloc.h>
#include <time.h>
#include <unistd.h>

using namespace pelzo;

namespace {

// --operations N changes it, to see whether memory keeps growing over a longer run.
int Operations = 200;
constexpr int EdgeOperations = 20; // the early and the late sample of part 1
constexpr qint64 HourMs = 3'600'000;
constexpr int DefaultIdleSeconds = 600;
constexpr int IdleSamples = 10;
constexpr int ProcessStartSettleMs = 2000; // the process shows its window and scans its ports first

QTextStream out(stdout);

qint64 cpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Resident memory in KiB and processor time in ms of a process, from /proc.
qint64 rssKiB(const QString &pid)
{
    // Memory the allocator keeps after it was freed is no growth of the program's.
    if (pid == QLatin1String("self"))
        malloc_trim(0);
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

qint64 processCpuMs(const QString &pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const qint64 ticks = fields.value(11).toLongLong() + fields.value(12).toLongLong(); // utime, stime
    return ticks * 1000 / sysconf(_SC_CLK_TCK);
}

void line(const QString &text)
{
    out << text << '\n';
    out.flush();
}

// Part 1 and 2.
void virtualSession()
{
    QTemporaryDir folder;
    VirtualPlatform platform;
    platform.setProgramFolder(folder.path());
    Form1 form(platform);
    formLoad(form);
    SimPeer device;
    platform.port().setCommPort(1);
    platform.port().attachPeer(&device);
    form.control<QPushButton>("Command0")->click();

    const qint64 rssStart = rssKiB(QStringLiteral("self"));
    QList<qint64> readNs, writeNs;
    qint64 rssAfter20 = 0;
    int readsOk = 0, writesOk = 0;
    for (int i = 0; i < Operations; ++i) {
        qint64 t = cpuNs();
        form.control<QPushButton>("Command6")->click();
        readNs << cpuNs() - t;
        readsOk += form.activityLog().endsWith(QStringLiteral("read ok"));
        t = cpuNs();
        form.control<QPushButton>("Command7")->click();
        writeNs << cpuNs() - t;
        writesOk += form.activityLog().endsWith(QStringLiteral("Write complete"));
        // The test double's record of every write and the emulator's notes are
        // no part of the program: dropped, they do not blur its memory figure.
        platform.port().clearWrites();
        device.device.takeNotes();
        // Virtual time never runs Qt's own loop; the program's would deliver
        // the posted events (repaints and the like) between two clicks.
        QCoreApplication::processEvents();
        if (i == EdgeOperations - 1)
            rssAfter20 = rssKiB(QStringLiteral("self"));
    }
    const auto meanUs = [](const QList<qint64> &ns, int from) {
        qint64 sum = 0;
        for (int i = from; i < from + EdgeOperations; ++i)
            sum += ns[i];
        return double(sum) / EdgeOperations / 1000.0;
    };
    line(QStringLiteral("part 1: %1 reads (%2 read ok), %3 writes (%4 Write complete), %5 s of virtual time")
             .arg(Operations).arg(readsOk).arg(Operations).arg(writesOk).arg(platform.now() / 1000));
    line(QStringLiteral("  CPU per read:  first %1: %2 us, last %1: %3 us")
             .arg(EdgeOperations).arg(meanUs(readNs, 0), 0, 'f', 0)
             .arg(meanUs(readNs, Operations - EdgeOperations), 0, 'f', 0));
    line(QStringLiteral("  CPU per write: first %1: %2 us, last %1: %3 us")
             .arg(EdgeOperations).arg(meanUs(writeNs, 0), 0, 'f', 0)
             .arg(meanUs(writeNs, Operations - EdgeOperations), 0, 'f', 0));
    const qint64 rssEnd = rssKiB(QStringLiteral("self"));
    line(QStringLiteral("  RSS: start %1 KiB, after %2 operations %3 KiB, after %4 %5 KiB")
             .arg(rssStart).arg(2 * EdgeOperations).arg(rssAfter20).arg(2 * Operations).arg(rssEnd));
    line(QStringLiteral("  Text1 %1 chars, LineBuffer %2 bytes, ActivityLog %3 chars")
             .arg(form.session().receive.Text1.text().size()).arg(form.session().receive.LineBuffer.size()).arg(form.activityLog().size()));

    qint64 ticks = 0;
    const std::function<void()> tick = form.session().Timer2->onTick;
    form.session().Timer2->onTick = [&] {
        ++ticks;
        tick();
    };
    const qint64 idleCpu = cpuNs();
    platform.runFor(HourMs);
    line(QStringLiteral("part 2: an hour of idle (%1 Timer2 ticks) in virtual time: %2 ms CPU, RSS %3 KiB")
             .arg(ticks)
             .arg(double(cpuNs() - idleCpu) / 1e6, 0, 'f', 1)
             .arg(rssKiB(QStringLiteral("self"))));
}

// Part 3: the window as main() builds it, until it is on screen.
void startToWindow()
{
    QElapsedTimer wall;
    wall.start();
    QTemporaryDir folder;
    WindowPlatform platform(std::make_unique<QtSerialPort>(folder.path()), folder.path());
    Form1 form(platform);
    platform.setDialogParent(&form);
    formLoad(form);
    form.show();
    const bool exposed = QTest::qWaitForWindowExposed(&form);
    line(QStringLiteral("part 3: start to window shown (in process, %1): %2 ms")
             .arg(QGuiApplication::platformName())
             .arg(exposed ? QString::number(wall.elapsed()) : QStringLiteral("never")));
}

void idleProcess(const QString &program, int seconds)
{
    QProcess process;
    process.start(program, {});
    if (!process.waitForStarted()) {
        line(QStringLiteral("part 3: %1 does not start").arg(program));
        return;
    }
    const QString pid = QString::number(process.processId());
    QTest::qWait(ProcessStartSettleMs);
    const qint64 cpu0 = processCpuMs(pid);
    const qint64 rss0 = rssKiB(pid);
    line(QStringLiteral("part 3: %1 idle for %2 s; after start-up: %3 ms CPU, RSS %4 KiB")
             .arg(program).arg(seconds).arg(cpu0).arg(rss0));
    QElapsedTimer wall;
    wall.start();
    for (int sample = 1; sample <= IdleSamples; ++sample) {
        QTest::qWait(seconds * 1000 / IdleSamples);
        line(QStringLiteral("  %1 s: CPU %2 ms since start-up (%3 % of a core), RSS %4 KiB")
                 .arg(wall.elapsed() / 1000)
                 .arg(processCpuMs(pid) - cpu0)
                 .arg(100.0 * double(processCpuMs(pid) - cpu0) / double(qMax<qint64>(1, wall.elapsed())), 0, 'f',
                      3)
                 .arg(rssKiB(pid)));
    }
    process.terminate();
    process.waitForFinished();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    int idleSeconds = DefaultIdleSeconds;
    QString program = QStringLiteral(PELZO_CONFIG_EXECUTABLE);
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--idle-seconds"))
            idleSeconds = arguments[i + 1].toInt();
        else if (arguments[i] == QLatin1String("--operations"))
            Operations = qMax(2 * EdgeOperations, arguments[i + 1].toInt());
        else if (arguments[i] == QLatin1String("--program"))
            program = arguments[i + 1];
    }

    virtualSession();
    startToWindow();
    if (idleSeconds > 0)
        idleProcess(program, idleSeconds);
    return 0;
}
