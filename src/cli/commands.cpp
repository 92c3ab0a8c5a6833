#include "cli/cli.h"

#include "cli/configcommands.h"
#include "cli/context.h"
#include "cli/settingslines.h"
#include "cli/stationcommands.h"

#include <algorithm>
#include <iterator>

namespace pelzo::cli {

namespace {

// Each command once: its name, whether it needs the station's port before
// anything else, and its handler (diff finds the port itself).
struct CommandEntry
{
    const char *name;
    bool usesPort;
    int (*handler)(Context &);
};

constexpr CommandEntry commandTable[] = {
    {"ports", false, portsCommand},   {"read", true, readCommand},       {"get", true, getCommand},
    {"write", true, writeCommand},    {"set", true, setCommand},         {"diff", false, diffCommand},
    {"defaults", false, defaultsCommand}, {"wifi", true, wifiCommand}, {"restart", true, restartCommand},
    {"flash", true, flashCommand},
};

int runCommand(Context &c)
{
    const QString &name = c.o.command;
    const auto entry = std::find_if(std::begin(commandTable), std::end(commandTable),
                                    [&](const CommandEntry &e) { return name == QLatin1String(e.name); });
    if (entry == std::end(commandTable))
        throw Failure{UsageOrDifference, QStringLiteral("no command %1").arg(name), true};
    // Fields and values are checked before the station is disturbed.
    if (name == QLatin1String("get")) {
        for (const QString &operand : c.o.operands)
            labelOf(operand);
    } else if (name == QLatin1String("set") || name == QLatin1String("write")) {
        checkAssignments(c.o.operands.mid(name == QLatin1String("write") ? 1 : 0));
    }
    if (entry->usesPort)
        c.choosePort();
    return entry->handler(c);
}

// What the station was left with when the command was interrupted.
QString interruptedState(const Context &c)
{
    if (c.flashing && c.session().updateInProgress()) {
        const FirmwareState &fw = c.session().firmware;
        return QStringLiteral("interrupted at block %1 of %2: the station holds part of the image; restart it and "
                              "flash again")
            .arg(fw.BlockIndex)
            .arg(fw.blockCount());
    }
    if (c.o.command == QLatin1String("write") || c.o.command == QLatin1String("set"))
        return QStringLiteral("interrupted: the station may hold part of the new configuration; write again");
    return QStringLiteral("interrupted: the station was left as it was");
}

} // namespace

int run(const QStringList &arguments, Platform &platform, Io &io)
{
    std::unique_ptr<Context> context;
    io.verbosity = arguments.contains(QLatin1String("-q")) ? 0 : arguments.contains(QLatin1String("-v")) ? 2 : 1;
    try {
        const Options options = parse(arguments);
        context = std::make_unique<Context>(options, platform, io);
        const int status = runCommand(*context);
        if (platform.isClosing()) {
            io.err << "pelzo-cli: " << interruptedState(*context) << Qt::endl;
            return Interrupted;
        }
        return status;
    } catch (const Failure &failure) {
        if (platform.isClosing() && context) {
            io.err << "pelzo-cli: " << interruptedState(*context) << Qt::endl;
            return Interrupted;
        }
        io.err << "pelzo-cli: " << failure.message << Qt::endl;
        if (failure.withUsage)
            io.err << usage();
        return failure.code;
    }
}

} // namespace pelzo::cli
