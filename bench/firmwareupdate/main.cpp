// Times the block transfer of a 100 KB image into pelzo-sim: the window's
// update (served on its 100 ms tick) unpaced, on a line paced at 115,200
// bit/s, and paced with the emulator taking 30 ms to program each block; and
// pelzo-cli's flash (served as each request arrives) on the paced, 30 ms line.
// Each transfer is shown as the share of its time that the line carried
// frames: 2049 bytes take 178 ms at 115,200 bit/s.
//
//   bench_firmwareupdate [RUNS]      (default 3 runs of each)

#include "emulatorprocess.h"
#include "realwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qsizetype ImageBytes = 100 * 1024;
constexpr int Blocks = ImageBytes / 2048 + 1;
constexpr double FrameWireMs = 2049 * 10 * 1000.0 / 115200;
constexpr qint64 GiveUpMs = 120000;

struct Way
{
    const char *name;
    QStringList emulator;
    bool cli;
};

// From the header to the last frame's last byte on the line, in ms; -1 when the image did not arrive.
double windowTransfer(const QStringList &options)
{
    Emulator sim(options);
    RealWindow window(sim.folder());
    writeBytes(sim.file("image.bin"), imageBytes(ImageBytes));
    QElapsedTimer clock;
    clock.start();
    qint64 header = -1, last = -1;
    window.form.port().onTraffic = [&](bool fromDevice, const QByteArray &bytes) {
        if (!fromDevice && bytes.size() == 5 && bytes.startsWith('\x5e'))
            header = clock.elapsed();
        if (!fromDevice && bytes.size() == 2049)
            last = clock.elapsed();
    };
    window.platform.openAnswer = sim.file("image.bin");
    window.platform.answers << QStringLiteral("Update without");
    window.press("Command1");
    window.press("Command2");
    while (window.form.session().updateInProgress() && clock.elapsed() < GiveUpMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    QElapsedTimer settle;
    settle.start();
    while (sim.flashed().size() != ImageBytes && settle.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return sim.flashed() == imageBytes(ImageBytes) && header >= 0 ? double(last - header) + FrameWireMs : -1;
}

double cliTransfer(const QStringList &options)
{
    Emulator sim(options);
    writeBytes(sim.file("image.bin"), imageBytes(ImageBytes));
    QProcess cli;
    cli.setWorkingDirectory(sim.folder());
    cli.start(QStringLiteral(PELZO_CLI_EXECUTABLE),
              {"-q", "-p", sim.device(), "--trace", "trace.txt", "flash", "image.bin"});
    cli.waitForFinished(int(GiveUpMs));
    // "    1234 host>dev 5e 00 ..." lines: the header, then the frames.
    qint64 header = -1, last = -1;
    for (const QByteArray &line : readBytes(sim.file("trace.txt")).split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() < 3 || words[1] != "host>dev")
            continue;
        if (words.size() == 7 && words[2] == "5e")
            header = words[0].toLongLong();
        if (words.size() == 2 + 2049)
            last = words[0].toLongLong();
    }
    QElapsedTimer settle;
    settle.start();
    while (sim.flashed().size() != ImageBytes && settle.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return sim.flashed() == imageBytes(ImageBytes) && header >= 0 ? double(last - header) + FrameWireMs : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const QStringList paced{"--pace"};
    const QStringList slowFlash{"--pace", "--block-write-ms", "30"};
    const Way ways[] = {{"window, unpaced", {}, false},
                        {"window, paced", paced, false},
                        {"window, paced, 30 ms a block", slowFlash, false},
                        {"pelzo-cli flash, paced, 30 ms a block", slowFlash, true}};

    std::printf("100 KB image (%d blocks, %.0f ms of frames on the line), %d runs each, medians\n", Blocks,
                Blocks * FrameWireMs, runs);
    std::printf("%-40s %12s %12s\n", "", "transfer ms", "wire share");
    for (const Way &way : ways) {
        QList<double> times;
        for (int i = 0; i < runs; ++i)
            times << (way.cli ? cliTransfer(way.emulator) : windowTransfer(way.emulator));
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        std::printf("%-40s %12.0f %11.0f%%\n", way.name, median,
                    median > 0 ? 100.0 * Blocks * FrameWireMs / median : 0.0);
    }
    return 0;
}
