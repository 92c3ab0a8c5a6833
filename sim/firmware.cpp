#include "firmware.h"

namespace pelzosim {

namespace {

const QByteArray kWifiCommand = "AT+WIFI,";
const char kCommandEnd = '#';

// The value of "<prefix><value>#", or nothing when the line is not such a command.
std::optional<QByteArray> valueOf(const QByteArray &line, const QByteArray &prefix)
{
    if (!line.startsWith(prefix) || !line.endsWith(kCommandEnd) || line.size() <= prefix.size())
        return std::nullopt;
    return line.mid(prefix.size(), line.size() - prefix.size() - 1);
}

} // namespace

const Firmware::FixedCommand Firmware::kFixedCommands[] = {
    {"SETUP#", HangupPoint::Never, &Firmware::probe},
    {"AT+READ#", HangupPoint::Read, &Firmware::report},
    {"AT+RESET#", HangupPoint::Reset, &Firmware::reset},
    {"REBOOT#", HangupPoint::Never, &Firmware::reboot},
};

Firmware::Firmware(const Options &options, Counters &counters, Journal &journal)
    : options_(options), counters_(counters), journal_(journal)
{
}

std::optional<FirmwareReaction> Firmware::take(char byte)
{
    const std::optional<QByteArray> line = reader_.take(byte);
    if (!line)
        return std::nullopt;
    const std::optional<FirmwareReaction> reaction = execute(*line);
    if (!reaction) {
        ++counters_.ignoredLines;
        journal_.add(QStringLiteral("ignored line of %1 bytes").arg(line->size()));
    }
    return reaction;
}

void Firmware::restart()
{
    reader_.clear();
}

void Firmware::restoreConfiguration(const Configuration &configuration)
{
    configuration_ = configuration;
}

std::optional<FirmwareReaction> Firmware::execute(const QByteArray &line)
{
    for (const FixedCommand &command : kFixedCommands) {
        if (line != command.text)
            continue;
        if (command.hangupPoint != HangupPoint::Never && command.hangupPoint == options_.hangupIn)
            return FirmwareReaction{.hangup = true};
        return (this->*command.run)();
    }
    return executeSetting(line);
}

std::optional<FirmwareReaction> Firmware::executeSetting(const QByteArray &line)
{
    if (const std::optional<QByteArray> value = valueOf(line, kWifiCommand)) {
        const qsizetype comma = value->indexOf(',');
        if (comma < 0)
            return std::nullopt;
        if (options_.hangupIn == HangupPoint::Wifi)
            return FirmwareReaction{.hangup = true};
        ++counters_.wifiWrites;
        Configuration changed = configuration_;
        changed.wifiSsid = value->left(comma);
        changed.wifiPassword = value->mid(comma + 1);
        change(changed);
        return FirmwareReaction{.lines = {"WIFI Write success"}};
    }
    for (const FieldInfo &info : fieldTable()) {
        const std::optional<QByteArray> value = valueOf(line, info.command);
        if (!value)
            continue;
        if (options_.hangupIn == HangupPoint::Write)
            return FirmwareReaction{.hangup = true};
        ++counters_.fieldWrites;
        if (options_.droppedSetting != info.command) {
            Configuration changed = configuration_;
            changed.set(info.field, *value);
            change(changed);
        }
        if (info.field == Field::Frequency)
            return FirmwareReaction{.lines = {"freq save"}};
        return FirmwareReaction{};
    }
    return std::nullopt;
}

FirmwareReaction Firmware::probe()
{
    ++counters_.probes;
    if (!options_.answerProbes)
        return {};
    return {.lines = {"CONNECT"}};
}

FirmwareReaction Firmware::report()
{
    ++counters_.reports;
    FirmwareReaction reaction{.report = true};
    for (const FieldInfo &info : fieldTable())
        reaction.lines.append(info.label + configuration_.value(info.field));
    reaction.lines.append("VER:" + options_.firmwareVersion);
    if (options_.sendReadEnd)
        reaction.lines.append("READ END");
    return reaction;
}

FirmwareReaction Firmware::reset()
{
    ++counters_.resets;
    change(Configuration::factory());
    journal_.add(QStringLiteral("configuration reset to factory"));
    return {.lines = {"eeram reset"}};
}

FirmwareReaction Firmware::reboot()
{
    ++counters_.reboots;
    return {.reboot = true};
}

void Firmware::change(Configuration changed)
{
    if (changed == configuration_)
        return;
    configuration_ = std::move(changed);
    ++counters_.configChanges;
}

} // namespace pelzosim
