#include "device.h"

#include "timebase.h"

namespace pelzosim {

Device::Device(const Options &options)
    : options_(options),
      firmware_(options_, counters_, journal_),
      bootloader_(options_, counters_, journal_),
      transmitter_(options_, counters_),
      firmwareDead_(options.deadFirmware)
{
    for (const auto &[atMs, bytes] : options_.sends)
        injectAt(atMs, bytes);
    if (options_.hangupAtMs)
        hangUpAt(*options_.hangupAtMs);
    if (options_.powerOnAtMs)
        powerOnAt(*options_.powerOnAtMs);
}

void Device::setHostLine(const QString &settings)
{
    hostLine_ = settings.toLower();
}

void Device::hostBytes(qint64 nowMs, const QByteArray &bytes)
{
    const qint64 nowNs = msToNs(nowMs);
    advanceTo(nowNs);
    if (hostLine_ != QLatin1String(kLine)) {
        counters_.garbledBytes += bytes.size();
        journal_.setTime(nowMs);
        journal_.add(QStringLiteral("%1 bytes garbled: the host's line runs at %2").arg(bytes.size()).arg(hostLine_));
        return;
    }
    for (char byte : bytes) {
        const qint64 atNs = options_.paceInput ? pacer_.arrivalNs(nowNs) : nowNs;
        advanceTo(atNs);
        if (transmitter_.hangupAtNs() && atNs >= *transmitter_.hangupAtNs())
            return;
        takeByte(byte, atNs);
    }
}

void Device::injectAt(qint64 atMs, const QByteArray &bytes)
{
    injections_.emplace(msToNs(atMs), Injection{bytes});
}

void Device::hangUpAt(qint64 atMs)
{
    injections_.emplace(msToNs(atMs), Injection{{}, true});
}

void Device::powerOnAt(qint64 atMs)
{
    injections_.emplace(msToNs(atMs), Injection{{}, false, true});
}

void Device::powerOn(qint64 atNs)
{
    journal_.setTime(nsToDueMs(atNs));
    journal_.add(QStringLiteral("switched off and on: bootloader waiting for a connect request"));
    phase_ = Phase::Bootloader;
    bootloader_.start();
    bootWindowEndsNs_ = atNs + msToNs(options_.rebootMs);
}

std::optional<qint64> Device::nextDueMs() const
{
    if (hungUp_)
        return std::nullopt;
    std::optional<qint64> dueNs = transmitter_.nextDueNs();
    if (bootWindowEndsNs_ && (!dueNs || *bootWindowEndsNs_ < *dueNs))
        dueNs = bootWindowEndsNs_;
    if (!injections_.empty() && (!dueNs || injections_.begin()->first < *dueNs))
        dueNs = injections_.begin()->first;
    if (!dueNs)
        return std::nullopt;
    return nsToDueMs(*dueNs);
}

Device::Output Device::takeDue(qint64 nowMs)
{
    const qint64 nowNs = msToNs(nowMs);
    advanceTo(nowNs);
    Output output;
    output.bytes = transmitter_.takeDue(nowNs, &output.hangup);
    if (output.hangup) {
        hungUp_ = true;
        bootWindowEndsNs_.reset();
    }
    return output;
}

void Device::restoreConfiguration(const Configuration &configuration)
{
    firmware_.restoreConfiguration(configuration);
}

void Device::advanceTo(qint64 nowNs)
{
    while (!injections_.empty() && injections_.begin()->first <= nowNs) {
        const auto [atNs, injection] = *injections_.begin();
        injections_.erase(injections_.begin());
        if (injection.hangup)
            transmitter_.hangup(atNs);
        else if (injection.powerOn)
            powerOn(atNs);
        else
            transmitter_.send(atNs, injection.bytes);
    }
    if (bootWindowEndsNs_ && nowNs >= *bootWindowEndsNs_) {
        journal_.setTime(nsToDueMs(*bootWindowEndsNs_));
        bootWindowEndsNs_.reset();
        startFirmware(QStringLiteral("no connect request"));
    }
}

void Device::takeByte(char byte, qint64 atNs)
{
    ++counters_.bytesReceived;
    journal_.setTime(nsToDueMs(atNs));
    if (phase_ == Phase::Bootloader) {
        handle(bootloader_.take(byte, atNs), atNs);
        return;
    }
    if (firmwareDead_)
        return;
    if (const std::optional<FirmwareReaction> reaction = firmware_.take(byte))
        handle(*reaction, atNs);
}

void Device::handle(const FirmwareReaction &reaction, qint64 atNs)
{
    if (reaction.hangup) {
        journal_.add(QStringLiteral("dropping the link"));
        transmitter_.hangup(atNs);
        return;
    }
    if (!reaction.lines.isEmpty())
        transmitter_.sendLines(atNs + msToNs(options_.answerDelayMs), reaction.lines, reaction.report);
    if (!reaction.reboot)
        return;
    if (!options_.enterBootloader) {
        startFirmware(QStringLiteral("restarted without its bootloader"));
        return;
    }
    phase_ = Phase::Bootloader;
    bootloader_.start();
    bootWindowEndsNs_ = atNs + msToNs(options_.rebootMs);
    journal_.add(QStringLiteral("bootloader waiting for a connect request"));
}

void Device::handle(const BootReaction &reaction, qint64 atNs)
{
    if (reaction.hangup) {
        transmitter_.hangup(atNs);
        return;
    }
    if (!reaction.send.isEmpty())
        transmitter_.send(reaction.sendAtNs, reaction.send);
    if (reaction.connected)
        bootWindowEndsNs_.reset();
    if (reaction.finished) {
        flashed_ = bootloader_.image();
        // New firmware starts from factory settings, and it starts: a dead one is replaced.
        firmwareDead_ = false;
        firmware_.factoryReset();
        startFirmware(QStringLiteral("transfer ended"));
    }
}

void Device::startFirmware(const QString &why)
{
    phase_ = Phase::Firmware;
    firmware_.restart();
    journal_.add(QStringLiteral("configuration firmware started: ") + why);
}

} // namespace pelzosim
