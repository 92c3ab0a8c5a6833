// Times pelzo-cli reading 1, 2, 4 and 8 emulated stations at once (one
// pelzo-sim process each), and sets each beside the time of one.
//
//   bench_fleet [RUNS]      (default 3 runs of each)

#include "emulatorprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

qint64 readAll(const std::vector<std::unique_ptr<Emulator>> &stations)
{
    QStringList arguments{QStringLiteral("-q")};
    for (const auto &station : stations)
        arguments << QStringLiteral("-p") << station->device();
    arguments << QStringLiteral("read");
    QElapsedTimer clock;
    clock.start();
    QProcess cli;
    cli.start(QStringLiteral(PELZO_CLI_EXECUTABLE), arguments);
    cli.waitForFinished(120000);
    return cli.exitCode() == 0 ? clock.elapsed() : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    std::printf("pelzo-cli read on N stations at once, %d runs each, medians in ms\n", runs);
    std::printf("%8s %10s %10s\n", "stations", "wall", "vs one");
    qint64 one = -1;
    for (const int count : {1, 2, 4, 8}) {
        std::vector<std::unique_ptr<Emulator>> stations;
        for (int i = 0; i < count; ++i)
            stations.push_back(std::make_unique<Emulator>(QStringList()));
        QList<qint64> times;
        for (int run = 0; run < runs; ++run)
            times << readAll(stations);
        std::sort(times.begin(), times.end());
        const qint64 median = times[times.size() / 2];
        if (count == 1)
            one = median;
        std::printf("%8d %10lld %10.2f\n", count, qlonglong(median), double(median) / double(one));
    }
    return 0;
}
