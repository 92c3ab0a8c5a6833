#pragma once

#include <QtGlobal>

namespace pelzosim {

// When the bytes the host writes would have crossed a 115,200 bit/s line
// (8N1: 10 bits a byte). A byte written while the line is still busy with
// earlier ones queues behind them.
class InputPacer {
public:
    static constexpr qint64 kBitsPerSecond = 115'200;
    static constexpr qint64 kBitsPerByte = 10;

    qint64 arrivalNs(qint64 writtenAtNs);

private:
    qint64 burstStartNs_ = 0;
    qint64 burstBytes_ = 0;
    qint64 lastArrivalNs_ = 0;
    bool started_ = false;
};

} // namespace pelzosim
