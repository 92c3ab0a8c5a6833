#pragma once

#include "formfixture.h"
#include "scriptedpeer.h"
#include "simpeer.h"

#include "core/virtualplatform.h"
#include "ui/form1.h"
#include "ui/inputrules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QTemporaryDir>

#include <optional>

// A window on COM1, its port-settings file in a folder of its own, the far
// end of its port a scripted device or the emulated one.
struct ExchangeFixture : FormFixture
{
    ExchangeFixture()
    {
        platform.setProgramFolder(folder.path());
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

    QTemporaryDir folder;
    ScriptedPeer device;
    std::optional<SimPeer> emulator;
};

// Puts a text into the named control as the program would (a check box takes "1" or "0").
inline void setControlText(pelzo::Form1 &form, const QString &name, const QString &text)
{
    const QByteArray latin = name.toLatin1();
    if (auto *combo = form.control<QComboBox>(latin.constData()))
        combo->setEditText(text);
    else if (auto *box = form.control<QCheckBox>(latin.constData()))
        box->setChecked(text == QLatin1String("1"));
    else
        pelzo::setProgramText(form.control<QLineEdit>(latin.constData()), text);
}

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
