#pragma once

#include <QtGlobal>

namespace pelzosim {

// The device keeps time in nanoseconds so that paced input does not drift;
// its interface speaks milliseconds.
inline constexpr qint64 kNsPerMs = 1'000'000;

inline constexpr qint64 msToNs(qint64 ms) { return ms * kNsPerMs; }

// The first millisecond at or after the given instant.
inline constexpr qint64 nsToDueMs(qint64 ns)
{
    const qint64 ms = ns / kNsPerMs;  // truncation rounds negative values up already
    return ns % kNsPerMs > 0 ? ms + 1 : ms;
}

} // namespace pelzosim
