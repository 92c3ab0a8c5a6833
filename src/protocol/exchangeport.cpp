#include "protocol/exchangeport.h"

#include "core/station.h"
#include "core/textcodec.h"
#include "protocol/link.h"
#include "serial/linesettings.h"
#include "serial/portfailure.h"

namespace pelzo {

namespace {

const QString UpdateRunningText =
    QStringLiteral("A firmware update is using the port: wait until it has finished, then try again.");
const QString UpdateHoldsPortDetail = QStringLiteral("A firmware update is using the port.");

// The longest command leaves a 115200 bit/s line in under 20 ms; a port that
// has not sent it after a second is stuck and is closed anyway.
constexpr quint32 DrainLimitMs = 1000;
// How often the close looks whether the last bytes have left.
constexpr qint32 DrainPollMs = 5;

} // namespace

bool refuseDuringFirmwareUpdate(Station &station, const Link &link)
{
    if (!link.updateHoldsPort)
        return false;
    station.appendActivityLog(UpdateRunningText);
    return true;
}

Outcome updateHoldsPortOutcome()
{
    return Outcome::ended(Result::Refused, UpdateHoldsPortDetail);
}

bool applyLineSettings(Station &station)
{
    return station.port().setSettings(QLatin1String(DeviceLineSettings));
}

bool openPort(Station &station, Link &link)
{
    if (!station.port().open())
        return false;
    link.receive.dropLine();
    return true;
}

bool sendText(Station &station, const Link &link, const QString &text, Outcome &outcome)
{
    return sendBytes(station, link, toWire(text), outcome);
}

bool sendBytes(Station &station, const Link &link, const QByteArray &bytes, Outcome &outcome)
{
    if (link.updateHoldsPort || !station.port().write(bytes))
        return false;
    outcome.commandsSent << bytes;
    return true;
}

void closePort(Station &station, const Link &link)
{
    if (!link.updateHoldsPort)
        station.port().close();
}

void closePortAfterSending(Station &station, const Link &link)
{
    if (link.updateHoldsPort)
        return;
    SerialPort &port = station.port();
    Platform &platform = station.platform();
    const quint32 start = platform.tickCount();
    // drain(0) only asks; the waiting happens here, with the window's events running.
    while (port.isOpen() && !port.drain(0) && platform.tickCount() - start < DrainLimitMs
           && !platform.isClosing())
        station.WaitMs(DrainPollMs);
    closePort(station, link);
}

void normalisePortListName(Station &station)
{
    if (!station.portName().startsWith(QLatin1String("COM")))
        station.setPortName(QStringLiteral("COM1"));
}

Outcome portFailure(Station &station, const Link &link)
{
    return Outcome::ended(Result::PortFailed,
                          link.updateHoldsPort ? UpdateHoldsPortDetail : portFailureDetail(station.port()));
}

} // namespace pelzo
