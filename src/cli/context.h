#pragma once

#include "cli/cli.h"
#include "cli/failure.h"
#include "cli/options.h"
#include "core/plainstation.h"
#include "firmware/session.h"
#include "firmware/sessionevents.h"

#include <QFile>

#include <memory>
#include <vector>

namespace pelzo::cli {

// What every command works with: its options, the platform, the one session
// of the command (so the port's events stay bound from its first exchange to
// its last), and the stations it fills, kept until the command ends.
class Context
{
public:
    Context(const Options &options, Platform &platform, Io &io);

    const Options &o;
    Platform &platform;
    Io &io;

    SerialPort &port() const { return platform.serialPort(); }
    Session &session() { return m_session; }
    const Session &session() const { return m_session; }

    // A station of its own; exchange() binds the port's events to it.
    PlainStation &newStation();
    PlainStation &exchange(PlainStation &station, ServeRequests serve = ServeRequests::OnTick);

    // A line on standard error, unless -q.
    void say(const QString &line) const;

    // The port the command talks on, as the user named it and the device it stands for.
    void choosePort();
    QString portLabel() const { return m_portLabel; }
    // The failure of an exchange that ended as `outcome`, in the command line's words.
    Failure failureOf(const Outcome &outcome, const QString &what) const;

    // The device's configuration, read as Read data reads it.
    PlainStation &readDevice();
    // A settings file loaded as Load file loads it.
    PlainStation &loaded(const QString &path);

    void output(const QByteArray &bytes, const QString &path) const;
    void outputStation(const Station &station) const;

    // Set by flash while it runs, for what an interruption left behind.
    PlainStation *flashing = nullptr;

private:
    void openTrace();

    Session m_session;
    std::vector<std::unique_ptr<PlainStation>> m_stations;
    std::shared_ptr<QFile> m_trace;
    QString m_portLabel;
};

} // namespace pelzo::cli
