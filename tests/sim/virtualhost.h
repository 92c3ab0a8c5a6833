#pragma once

#include "device.h"

#include <QList>

// Drives the device model under virtual time and records what it sends.
class VirtualHost {
public:
    struct Chunk {
        qint64 atMs;
        QByteArray bytes;
    };

    explicit VirtualHost(const pelzosim::Options &options = {}) : device(options) {}

    void write(const QByteArray &bytes) { device.hostBytes(nowMs, bytes); }

    // Moves to the device's next due time and collects its output; false when nothing is due.
    bool step()
    {
        const std::optional<qint64> due = device.nextDueMs();
        if (!due)
            return false;
        nowMs = qMax(nowMs, *due);
        collect();
        return true;
    }

    void advance(qint64 ms)
    {
        const qint64 untilMs = nowMs + ms;
        while (device.nextDueMs() && *device.nextDueMs() <= untilMs)
            step();
        nowMs = untilMs;
        collect();
    }

    QByteArray takeReceived()
    {
        QByteArray bytes;
        for (const Chunk &chunk : std::exchange(chunks, {}))
            bytes += chunk.bytes;
        return bytes;
    }

    pelzosim::Device device;
    qint64 nowMs = 0;
    QList<Chunk> chunks;
    bool hungUp = false;

private:
    void collect()
    {
        const pelzosim::Device::Output output = device.takeDue(nowMs);
        if (!output.bytes.isEmpty())
            chunks.append({nowMs, output.bytes});
        hungUp = hungUp || output.hangup;
    }
};
