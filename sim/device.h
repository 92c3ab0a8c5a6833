#pragma once

#include "bootloader.h"
#include "configuration.h"
#include "counters.h"
#include "firmware.h"
#include "inputpacer.h"
#include "journal.h"
#include "options.h"
#include "transmitter.h"

#include <QByteArray>

#include <map>
#include <optional>

namespace pelzosim {

enum class Phase { Firmware, Bootloader };

// The emulated PELZO. It has no clock of its own: the caller tells it the time
// with every call, on a monotonic millisecond clock of any origin, so it runs
// as well behind a real pseudo-terminal as under virtual time.
class Device {
public:
    explicit Device(const Options &options = {});
    Device(const Device &) = delete;
    Device &operator=(const Device &) = delete;

    // Bytes the host wrote; they reach the device at nowMs.
    void hostBytes(qint64 nowMs, const QByteArray &bytes);
    // The line settings the host's port runs at ("9600,n,8,1"). Bytes sent at
    // other settings than the device's own reach it garbled, and it drops them.
    void setHostLine(const QString &settings);
    static constexpr char kLine[] = "115200,n,8,1";
    // Makes the device send bytes of its own, or drop the link, at a time to come.
    void injectAt(qint64 atMs, const QByteArray &bytes);
    void hangUpAt(qint64 atMs);
    // The device is switched off and on at a time to come: its bootloader listens first.
    void powerOnAt(qint64 atMs);
    // Earliest time at which the device has something due (bytes to send, a hang-up, a phase change), or nullopt.
    std::optional<qint64> nextDueMs() const;
    struct Output {
        QByteArray bytes;
        bool hangup = false;
    };
    // Everything the device does up to and including nowMs, in order.
    Output takeDue(qint64 nowMs);

    const Configuration &configuration() const { return firmware_.configuration(); }
    void restoreConfiguration(const Configuration &configuration);
    Phase phase() const { return phase_; }
    // The image of the last transfer that ended; empty until one completed and after one failed.
    QByteArray flashedImage() const { return flashed_; }
    const Transfer &transfer() const { return bootloader_.transfer(); }
    const Counters &counters() const { return counters_; }
    bool linkDropped() const { return hungUp_; }
    QList<Note> takeNotes() { return journal_.take(); }

private:
    void advanceTo(qint64 nowNs);
    void takeByte(char byte, qint64 atNs);
    void handle(const FirmwareReaction &reaction, qint64 atNs);
    void handle(const BootReaction &reaction, qint64 atNs);
    void startFirmware(const QString &why);

    const Options options_;
    Counters counters_;
    Journal journal_;
    Firmware firmware_;
    Bootloader bootloader_;
    Transmitter transmitter_;
    InputPacer pacer_;
    Phase phase_ = Phase::Firmware;
    std::optional<qint64> bootWindowEndsNs_;
    void powerOn(qint64 atNs);

    struct Injection {
        QByteArray bytes;
        bool hangup = false;
        bool powerOn = false;
    };
    bool firmwareDead_ = false;
    std::multimap<qint64, Injection> injections_; // by time in ns
    QByteArray flashed_;
    bool hungUp_ = false;
    QString hostLine_ = QLatin1String(kLine);
};

} // namespace pelzosim
