#pragma once

#include "formfixture.h"
#include "scriptedpeer.h"
#include "simpeer.h"

#include "core/virtualplatform.h"
#include "ui/form1.h"

#include <QList>

#include <optional>

// A window on COM1 (its port-settings file in FormFixture's own program
// folder), the far end of its port a scripted device or the emulated one.
struct ExchangeFixture : FormFixture
{
    ExchangeFixture()
    {
        // Start-up leaves the port number on the last port it looked for.
        platform.port().setCommPort(1);
        platform.port().attachPeer(&device);
    }

    SimPeer &useEmulator(const pelzosim::Options &options = {})
    {
        emulator.emplace(options);
        platform.port().attachPeer(&*emulator);
        return *emulator;
    }

    ScriptedPeer device;
    std::optional<SimPeer> emulator;
};

// The texts the host wrote, one per write call.
inline QByteArrayList writtenTexts(const pelzo::VirtualSerialPort &port)
{
    QByteArrayList texts;
    for (const auto &write : port.writes())
        texts << write.bytes;
    return texts;
}

inline QList<qint64> writeTimes(const pelzo::VirtualSerialPort &port)
{
    QList<qint64> times;
    for (const auto &write : port.writes())
        times << write.atMs;
    return times;
}

// How long WaitMs(d) lasts: it returns at the first clock reading more than d ms after its start.
constexpr qint64 waited(qint64 d)
{
    return d + 1;
}
