#pragma once

#include <QString>

// SIGINT, SIGTERM and SIGHUP delivered as readable data on a descriptor
// (signalfd), so the event loop can stop cleanly and remove the port link.
// install() must run before any thread starts, since it blocks the signals.
class StopSignals {
public:
    StopSignals() = default;
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;
    ~StopSignals();

    bool install(QString *error);
    int fd() const { return fd_; }
    // The signal that arrived, or 0.
    int take();

private:
    int fd_ = -1;
};
