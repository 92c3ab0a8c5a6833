// Times whole firmware updates of a 100 KB image into pelzo-sim, answering at
// once, with and without its 115,200 bit/s input pacing, and sets each beside
// the floor that the program's timers allow.
//
//   bench_firmwareupdate [RUNS]      (default 3 runs of each)

#include "emulatorprocess.h"
#include "realwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qsizetype ImageBytes = 100 * 1024;
constexpr int Blocks = ImageBytes / 2048 + 1;
constexpr qint64 TickMs = 100;    // Timer2
constexpr qint64 PollMs = 1;      // how finely the bench watches the window
constexpr qint64 GiveUpMs = 120000;

// From the click to the first connect request: two settling waits of 100 ms,
// the first 1000 ms poll for the reset answer, 1000 ms after it and the first
// 1000 ms tick of Timer1. The answer 0xE5 is served at the next tick.
constexpr qint64 StartFloorMs = 100 + 1000 + 1000 + 100 + 1000;

// Unpaced the answer to a frame is back before the next tick: one block a tick.
// Paced a 2049-byte frame takes 178 ms on the line, so its answer waits for the
// second tick: the first block follows the header by one tick, every other by two.
qint64 transferFloorMs(bool paced)
{
    return paced ? (1 + 2 * (Blocks - 1)) * TickMs : Blocks * TickMs;
}

struct Timing
{
    qint64 wholeMs = -1;    // click of update to the end of the update
    qint64 transferMs = -1; // header sent to the end of the update
    bool intact = false;
};

Timing runOnce(bool paced)
{
    Emulator sim(paced ? QStringList{QStringLiteral("--pace")} : QStringList());
    if (!sim.ready)
        return {};
    RealWindow window(sim.folder());
    QByteArray image(ImageBytes, '\0');
    for (qsizetype i = 0; i < image.size(); ++i)
        image[i] = char((i * 131 + i / 977) & 0xFF);
    const QString path = sim.file("image.bin");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        return {};
    file.close();
    window.platform.openAnswer = path;
    window.press("Command1");

    Timing timing;
    QElapsedTimer clock;
    qint64 headerAt = -1;
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    watch.setInterval(int(PollMs));
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (headerAt < 0 && window.form.firmware.headerSent)
            headerAt = clock.elapsed();
    });
    watch.start();
    clock.start();
    window.press("Command2");
    while (window.form.firmware.updateInProgress && clock.elapsed() < GiveUpMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, int(PollMs));
    timing.wholeMs = clock.elapsed();
    timing.transferMs = headerAt < 0 ? -1 : timing.wholeMs - headerAt;

    QElapsedTimer flashWait;
    flashWait.start();
    while (sim.flashed().size() != image.size() && flashWait.elapsed() < Emulator::StartTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(PollMs));
    timing.intact = sim.flashed() == image;
    return timing;
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    std::printf("100 KB image (%d blocks), %d runs each, medians in ms\n", Blocks, runs);
    std::printf("%-8s %10s %10s %8s %10s %10s %8s  %s\n", "pelzo-sim", "transfer", "floor", "over", "whole",
                "floor", "over", "image");
    for (const bool paced : {false, true}) {
        QList<qint64> transfer, whole;
        bool intact = true;
        for (int i = 0; i < runs; ++i) {
            const Timing t = runOnce(paced);
            transfer << t.transferMs;
            whole << t.wholeMs;
            intact = intact && t.intact;
        }
        const qint64 transferFloor = transferFloorMs(paced);
        const qint64 wholeFloor = StartFloorMs + TickMs + transferFloor;
        const qint64 medTransfer = median(transfer);
        const qint64 medWhole = median(whole);
        const auto over = [](qint64 value, qint64 floor) { return 100.0 * double(value - floor) / double(floor); };
        std::printf("%-9s %10lld %10lld %7.1f%% %10lld %10lld %7.1f%%  %s\n", paced ? "paced" : "unpaced",
                    qlonglong(medTransfer), qlonglong(transferFloor), over(medTransfer, transferFloor),
                    qlonglong(medWhole), qlonglong(wholeFloor), over(medWhole, wholeFloor),
                    intact ? "intact" : "DAMAGED");
    }
    return 0;
}
