#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "optiontable.h"

namespace {

// The options of the program itself; the device's own come from its table.
struct PathOption {
    const char *name;
    const char *description;
    QString SimSettings::*field;
};

const PathOption kPathOptions[] = {
    {"link", "Also make the port reachable as a symbolic link at <path> (removed on exit).", &SimSettings::linkPath},
    {"state", "Load the configuration from <file> at start and save it there after every change.",
     &SimSettings::statePath},
    {"flash-out", "Write each image flashed through the bootloader to <file>.", &SimSettings::flashOutPath},
    {"trace", "Record every byte in both directions, with times in ms, in <file>.", &SimSettings::tracePath},
};

} // namespace

bool parseCommandLine(const QCoreApplication &app, SimSettings *settings, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Emulates a PELZO APRS station on a pseudo-terminal: its configuration firmware and its bootloader.\n"
        "Prints the pseudo-terminal's path as the first line, then serves it until SIGINT or SIGTERM, or\n"
        "until it drops the link on purpose (exit status 0 in both cases)."));
    parser.addHelpOption();
    parser.addVersionOption();
    for (const PathOption &option : kPathOptions)
        parser.addOption(QCommandLineOption(option.name, option.description, QStringLiteral("path")));
    for (const pelzosim::SimOption &option : pelzosim::optionTable()) {
        parser.addOption(option.valueName ? QCommandLineOption(option.name, option.description, option.valueName)
                                          : QCommandLineOption(option.name, option.description));
    }
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().constFirst());
        return false;
    }
    for (const PathOption &option : kPathOptions) {
        if (parser.isSet(option.name))
            settings->*option.field = parser.value(option.name);
    }
    for (const pelzosim::SimOption &option : pelzosim::optionTable()) {
        if (!parser.isSet(option.name))
            continue;
        for (const QString &value : option.valueName ? parser.values(option.name) : QStringList{QString()}) {
            if (!option.apply(value, settings->device)) {
                *error = QStringLiteral("invalid value \"%1\" for --%2").arg(value, option.name);
                return false;
            }
        }
    }
    return true;
}
