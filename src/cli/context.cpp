#include "cli/context.h"

#include "cli/settingslines.h"
#include "protocol/readdata.h"
#include "serial/linesettings.h"
#include "serial/portfailure.h"
#include "settingsfile/loadfile.h"
#include "settingsfile/savefile.h"

#include <QJsonDocument>

namespace pelzo::cli {

Context::Context(const Options &options, Platform &platform, Io &io)
    : o(options), platform(platform), io(io), m_session(platform)
{
}

PlainStation &Context::newStation()
{
    m_stations.push_back(std::make_unique<PlainStation>(platform));
    PlainStation &station = *m_stations.back();
    station.setPortName(o.port);
    // The exchange's own log, line by line, with -v.
    station.onLog = [this, last = QString()](const QString &log) mutable {
        const QStringList lines = log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        const QString line = lines.isEmpty() ? QString() : lines.last();
        if (io.verbosity < 2 || line.isEmpty() || line == last)
            return;
        last = line;
        io.err << "  " << line << Qt::endl;
    };
    return station;
}

PlainStation &Context::exchange(PlainStation &station, ServeRequests serve)
{
    bindSessionEvents(station, m_session, serve);
    return station;
}

void Context::say(const QString &line) const
{
    if (io.verbosity > 0)
        io.err << line << Qt::endl;
}

Failure Context::failureOf(const Outcome &outcome, const QString &what) const
{
    if (outcome.result == Result::PortFailed) {
        QString message = QStringLiteral("%1: %2").arg(m_portLabel, port().lastError());
        const QString device = port().devicePath(port().commPort());
        if (deviceAccessDenied(device))
            message += QLatin1Char('\n') + accessHint(device);
        return {PortProblem, message};
    }
    return {exitCodeOf(outcome), QStringLiteral("%1: %2").arg(m_portLabel, what)};
}

PlainStation &Context::readDevice()
{
    PlainStation &station = exchange(newStation());
    say(QStringLiteral("%1: waiting for the station (restart it if it does not answer)…").arg(m_portLabel));
    const Outcome outcome = readData(station, m_session);
    if (!outcome.done()) {
        const bool connected = m_session.replies.ConnectSeen == 1;
        throw failureOf(outcome, connected ? QStringLiteral("the station answered, but did not send its whole configuration")
                                           : QStringLiteral("the station did not answer"));
    }
    say(QStringLiteral("%1: connected, read %2 fields").arg(m_portLabel).arg(outcome.fieldsRead.size()));
    return station;
}

PlainStation &Context::loaded(const QString &path)
{
    PlainStation &station = newStation();
    const Outcome outcome = loadSettingsFile(station, m_session, path);
    if (!outcome.done())
        throw Failure{FileRefused, QStringLiteral("%1: %2").arg(path, outcome.reason)};
    return station;
}

void Context::output(const QByteArray &bytes, const QString &path) const
{
    if (path.isEmpty() || path == QLatin1String("-")) {
        io.out << QString::fromUtf8(bytes) << Qt::flush;
        return;
    }
    if (!io.writeFile(path, bytes))
        throw Failure{FileRefused, QStringLiteral("cannot write %1").arg(path)};
}

void Context::outputStation(const Station &station) const
{
    if (o.json)
        output(QJsonDocument(asJson(valueLines(station))).toJson(), o.output);
    else
        output(settingsFileBytes(station), o.output);
}

} // namespace pelzo::cli
