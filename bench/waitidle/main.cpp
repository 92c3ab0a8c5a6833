// Processor time of an idle WaitMs on the production platform, against a
// busy poll of the clock that processes events in between.
#include "ui/windowplatform.h"
#include "serial/qtserialport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <time.h>

using namespace pelzo;

namespace {

constexpr qint32 WaitDurationMs = 5000;
constexpr qint64 BusyPollMs = 1000;

qint64 processCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void report(QTextStream &out, const char *title, qint64 cpuNs, qint64 wallNs)
{
    out << QStringLiteral("%1: %2 ms wall, %3 ms CPU, %4 % of one core\n")
               .arg(QLatin1String(title))
               .arg(double(wallNs) / 1e6, 0, 'f', 1)
               .arg(double(cpuNs) / 1e6, 0, 'f', 2)
               .arg(100.0 * double(cpuNs) / double(wallNs), 0, 'f', 3);
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir ports;
    WindowPlatform platform(std::make_unique<QtSerialPort>(ports.path()), ports.path());
    QTextStream out(stdout);

    QElapsedTimer wall;
    qint64 cpu = processCpuNs();
    wall.start();
    waitMs(platform, WaitDurationMs);
    report(out, "WaitMs(5000) while idle", processCpuNs() - cpu, wall.nsecsElapsed());

    if (QApplication::arguments().contains(QStringLiteral("--busy-poll"))) {
        cpu = processCpuNs();
        wall.restart();
        while (wall.elapsed() <= BusyPollMs)
            QCoreApplication::processEvents();
        report(out, "busy poll of the clock for 1000 ms", processCpuNs() - cpu, wall.nsecsElapsed());
    }
    return 0;
}
