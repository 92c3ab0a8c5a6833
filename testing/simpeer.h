#pragma once

#include "testing/virtualplatform.h"
#include "device.h"

// The emulated PELZO on the far end of the virtual serial link. Tests that
// use it link pelzo_sim: pelzo_add_test(NAME SOURCES ... LIBS pelzo_sim).
class SimPeer : public pelzo::VirtualPeer
{
public:
    explicit SimPeer(const pelzosim::Options &options = {}) : device(options) {}

    void hostBytes(qint64 nowMs, const QByteArray &bytes) override { device.hostBytes(nowMs, bytes); }
    void hostLine(const QString &settings) override { device.setHostLine(settings); }
    std::optional<qint64> nextDueMs() const override { return device.nextDueMs(); }
    Output takeDue(qint64 nowMs) override
    {
        const pelzosim::Device::Output output = device.takeDue(nowMs);
        return {output.bytes, output.hangup};
    }

    pelzosim::Device device;
};
