#include "bytetrace.h"
#include "commandline.h"
#include "device.h"
#include "devicefiles.h"
#include "portlink.h"
#include "pseudoterminal.h"
#include "simloop.h"
#include "stopsignals.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int fail(int status, const QString &error)
{
    std::fprintf(stderr, "pelzo-sim: %s\n", qPrintable(error));
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QString error;
    StopSignals stop;
    if (!stop.install(&error))
        return fail(kExitFailure, error);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pelzo-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    SimSettings settings;
    if (!parseCommandLine(app, &settings, &error))
        return fail(kExitUsage, error);

    pelzosim::Device device(settings.device);
    DeviceFiles files(settings.statePath, settings.flashOutPath);
    if (!files.restore(device, &error))
        return fail(kExitFailure, error);
    ByteTrace trace;
    if (!trace.open(settings.tracePath, &error))
        return fail(kExitFailure, error);
    PseudoTerminal terminal;
    if (!terminal.open(&error))
        return fail(kExitFailure, error);
    PortLink link;
    if (!settings.linkPath.isEmpty() && !link.create(settings.linkPath, terminal.slavePath(), &error))
        return fail(kExitFailure, error);

    std::printf("%s\n", qPrintable(terminal.slavePath()));
    std::fflush(stdout);
    return SimLoop(device, terminal, stop, trace, files).run();
}
