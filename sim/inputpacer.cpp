#include "inputpacer.h"

namespace pelzosim {

namespace {

constexpr qint64 kNsPerSecond = 1'000'000'000;

} // namespace

// Arrivals are counted from the start of a burst rather than added up byte by
// byte, so a 2049-byte frame takes 177.9 ms and not a rounded 2049 x 87 us.
qint64 InputPacer::arrivalNs(qint64 writtenAtNs)
{
    if (!started_ || writtenAtNs >= lastArrivalNs_) {
        started_ = true;
        burstStartNs_ = writtenAtNs;
        burstBytes_ = 0;
    }
    ++burstBytes_;
    const qint64 bits = burstBytes_ * kBitsPerByte;
    lastArrivalNs_ = burstStartNs_ + (bits * kNsPerSecond + kBitsPerSecond - 1) / kBitsPerSecond;
    return lastArrivalNs_;
}

} // namespace pelzosim
