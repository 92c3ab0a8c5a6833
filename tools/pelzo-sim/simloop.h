#pragma once

#include <QByteArray>

class ByteTrace;
class DeviceFiles;
class PseudoTerminal;
class StopSignals;
namespace pelzosim {
class Device;
}

// Runs the device behind the pseudo-terminal until a stop signal or until the
// device drops the link. It sleeps in poll() until the master has bytes or
// the device has something due.
class SimLoop {
public:
    SimLoop(pelzosim::Device &device, PseudoTerminal &terminal, StopSignals &stop, ByteTrace &trace,
            DeviceFiles &files);

    // The process exit status.
    int run();

private:
    qint64 nowMs() const;
    bool readHost();
    bool flushToHost();
    void record();

    pelzosim::Device &device_;
    PseudoTerminal &terminal_;
    StopSignals &stop_;
    ByteTrace &trace_;
    DeviceFiles &files_;
    QByteArray pending_;  // device bytes the pty did not take yet
    qint64 startNs_;
};
