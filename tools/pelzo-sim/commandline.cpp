#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <functional>

namespace {

using Apply = std::function<bool(const QString &value, SimSettings &settings)>;

struct OptionEntry {
    const char *name;
    const char *valueName;  // nullptr for a switch
    const char *description;
    Apply apply;
};

bool toCount(const QString &text, qint64 *count)
{
    bool ok = false;
    *count = text.toLongLong(&ok);
    return ok && *count >= 0;
}

Apply count(auto field)
{
    return [field](const QString &value, SimSettings &settings) {
        qint64 number = 0;
        if (!toCount(value, &number))
            return false;
        field(settings.device, number);
        return true;
    };
}

Apply hexBytes(QByteArray pelzosim::Options::*field)
{
    return [field](const QString &value, SimSettings &settings) {
        QString digits = value;
        digits.remove(QChar(' '));
        const QByteArray bytes = QByteArray::fromHex(digits.toLatin1());
        if (digits.size() % 2 != 0 || bytes.size() * 2 != digits.size())
            return false;
        settings.device.*field = bytes;
        return true;
    };
}

Apply flag(bool pelzosim::Options::*field, bool value)
{
    return [field, value](const QString &, SimSettings &settings) {
        settings.device.*field = value;
        return true;
    };
}

Apply path(QString SimSettings::*field)
{
    return [field](const QString &value, SimSettings &settings) {
        settings.*field = value;
        return !value.isEmpty();
    };
}

bool applyHangupIn(const QString &value, SimSettings &settings)
{
    static const QList<QPair<QString, pelzosim::HangupPoint>> points = {
        {"read", pelzosim::HangupPoint::Read},
        {"write", pelzosim::HangupPoint::Write},
        {"wifi", pelzosim::HangupPoint::Wifi},
        {"reset", pelzosim::HangupPoint::Reset},
    };
    for (const auto &[name, point] : points) {
        if (value == name) {
            settings.device.hangupIn = point;
            return true;
        }
    }
    const QString blockPrefix = QStringLiteral("block:");
    qint64 block = 0;
    if (!value.startsWith(blockPrefix) || !toCount(value.mid(blockPrefix.size()), &block))
        return false;
    settings.device.hangupIn = pelzosim::HangupPoint::Block;
    settings.device.hangupBlock = int(block);
    return true;
}

const QList<OptionEntry> &optionTable()
{
    using pelzosim::Options;
    static const QList<OptionEntry> table = {
        {"link", "path", "Also make the port reachable as a symbolic link at <path> (removed on exit).",
         path(&SimSettings::linkPath)},
        {"state", "file", "Load the configuration from <file> at start and save it there after every change.",
         path(&SimSettings::statePath)},
        {"flash-out", "file", "Write each image flashed through the bootloader to <file>.",
         path(&SimSettings::flashOutPath)},
        {"trace", "file", "Record every byte in both directions, with times in ms, in <file>.",
         path(&SimSettings::tracePath)},
        {"firmware-version", "text", "Version reported in the VER: line (default \"PELZO-SIM 1.0\").",
         [](const QString &value, SimSettings &settings) {
             settings.device.firmwareVersion = value.toUtf8();
             return true;
         }},
        {"reboot-ms", "ms", "After REBOOT#, how long the bootloader waits for a connect request (default 3000).",
         count([](Options &o, qint64 v) { o.rebootMs = v; })},
        {"silent", nullptr, "Never send anything.", flag(&Options::silent, true)},
        {"no-read-end", nullptr, "End the report without the READ END line.", flag(&Options::sendReadEnd, false)},
        {"answer-delay", "ms", "Send every answer this late.",
         count([](Options &o, qint64 v) { o.answerDelayMs = v; })},
        {"pieces", "bytes", "Send output in pieces of this many bytes (see --piece-pause).",
         count([](Options &o, qint64 v) { o.pieceBytes = int(v); })},
        {"piece-pause", "ms", "Pause between the pieces of --pieces.",
         count([](Options &o, qint64 v) { o.piecePauseMs = v; })},
        {"noise", "hex", "Send these bytes (hex, e.g. \"7e 00\") after every line the firmware sends.",
         hexBytes(&Options::noiseAfterLine)},
        {"nul", "count", "Send this many NUL bytes after every line the firmware sends.",
         count([](Options &o, qint64 v) { o.noiseAfterLine = QByteArray(int(v), '\0'); })},
        {"unterminated-line", "bytes", "Start every report with a line of this many bytes that never ends.",
         count([](Options &o, qint64 v) { o.unterminatedLineBytes = int(v); })},
        {"hangup-after-bytes", "count", "Drop the link once this many bytes were sent.",
         count([](Options &o, qint64 v) { o.hangupAfterBytes = v; })},
        {"hangup-in", "phase",
         "Drop the link instead of answering: read (AT+READ#), write (any setting), wifi, reset (AT+RESET#), "
         "or block:<k> (when block k, counted from 0, starts to arrive).",
         applyHangupIn},
        {"no-bootloader", nullptr, "REBOOT# restarts the firmware; the bootloader never answers.",
         flag(&Options::enterBootloader, false)},
        {"ask-repeat-every", "n", "After every n-th block, ask with 0x55 before asking with 0xC5.",
         count([](Options &o, qint64 v) { o.askRepeatEvery = int(v); })},
        {"silent-after-block", "k", "Stop answering once block k (counted from 0) has arrived.",
         count([](Options &o, qint64 v) { o.silentAfterBlock = int(v); })},
        {"boot-stray", "hex", "Send these bytes (hex) before every bootloader answer.",
         hexBytes(&Options::bootloaderStray)},
        {"block-write-ms", "ms", "Time the bootloader takes to write a block before asking for the next.",
         count([](Options &o, qint64 v) { o.blockWriteMs = v; })},
        {"pace", nullptr, "Take the program's bytes in no faster than 115,200 bit/s.",
         flag(&Options::paceInput, true)},
    };
    return table;
}

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
    for (const OptionEntry &entry : optionTable()) {
        parser.addOption(entry.valueName ? QCommandLineOption(entry.name, entry.description, entry.valueName)
                                        : QCommandLineOption(entry.name, entry.description));
    }
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().constFirst());
        return false;
    }
    for (const OptionEntry &entry : optionTable()) {
        if (!parser.isSet(entry.name))
            continue;
        const QString value = entry.valueName ? parser.value(entry.name) : QString();
        if (!entry.apply(value, *settings)) {
            *error = QStringLiteral("invalid value \"%1\" for --%2").arg(value, entry.name);
            return false;
        }
    }
    return true;
}
