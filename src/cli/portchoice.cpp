#include "cli/context.h"

#include "serial/linesettings.h"
#include "serial/portnames.h"
#include "serial/qtserialport.h"

namespace pelzo::cli {

namespace {

QString named(const QString &asGiven, const QString &device)
{
    return asGiven == device ? asGiven : QStringLiteral("%1 (%2)").arg(asGiven, device);
}

} // namespace

void Context::choosePort()
{
    if (!o.trace.isEmpty())
        openTrace();
    if (o.port == QLatin1String("auto")) {
        // Nothing is sent to choose: a GPS or a radio on another port must not
        // get the probe. The one USB serial adapter that nobody holds is taken.
        QStringList free, candidates;
        for (const int number : port().presentPorts()) {
            const PortInfo info = port().portInfo(number);
            if (!info.usbAdapter())
                continue;
            const QString name = named(portName(number), port().devicePath(number));
            const QString described = info.description.isEmpty() ? name : name + QStringLiteral(": ") + info.description;
            candidates << (info.holder.isEmpty() ? described : described + QStringLiteral(", held: ") + info.holder);
            if (info.holder.isEmpty())
                free << portName(number);
        }
        if (free.size() != 1)
            throw Failure{PortProblem, QStringLiteral("%1; name the station's port with -p")
                                           .arg(candidates.isEmpty()
                                                    ? QStringLiteral("there is no USB serial adapter")
                                                    : (free.isEmpty() ? QStringLiteral("no USB serial adapter is free: ")
                                                                      : QStringLiteral("several USB serial adapters: ")) +
                                                          candidates.join(QStringLiteral("; ")))};
        port().setCommPort(*listedPortNumber(free.front()));
        m_portLabel = named(free.front(), port().devicePath(port().commPort()));
        say(QStringLiteral("using %1, the one free USB serial adapter").arg(m_portLabel));
    } else if (const auto number = listedPortNumber(o.port.toUpper())) {
        port().setCommPort(*number);
        m_portLabel = named(o.port, port().devicePath(*number));
    } else if (auto *real = dynamic_cast<QtSerialPort *>(&port())) {
        real->setDevice(o.port);
        port().setCommPort(1);
        m_portLabel = named(o.port, port().devicePath(1));
    } else {
        throw Failure{UsageOrDifference, QStringLiteral("no port %1").arg(o.port)};
    }
    // The window sets the line up at its start; a command line must do it itself.
    port().setSettings(QLatin1String(DeviceLineSettings));
}

void Context::openTrace()
{
    m_trace = std::make_shared<QFile>(o.trace);
    if (!m_trace->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Failure{FileRefused, QStringLiteral("cannot write %1: %2").arg(o.trace, m_trace->errorString())};
    const quint32 start = platform.tickCount();
    port().onTraffic = [trace = m_trace, start, this](bool fromDevice, const QByteArray &bytes) {
        trace->write(QStringLiteral("%1 %2 %3\n")
                         .arg(platform.tickCount() - start, 8)
                         .arg(fromDevice ? QLatin1String("dev>host") : QLatin1String("host>dev"),
                              QString::fromLatin1(bytes.toHex(' ')))
                         .toLatin1());
        trace->flush();
    };
}

} // namespace pelzo::cli
