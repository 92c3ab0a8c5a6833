#include "protocol/exchangeport.h"

#include "core/station.h"
#include "core/textcodec.h"
#include "serial/linesettings.h"
#include "serial/portfailure.h"

namespace pelzo {

namespace {

const QString PortFailureText = QStringLiteral("Port is open or no");
const QString UpdateRunningText =
    QStringLiteral("A firmware update is using the port: wait until it has finished, then try again.");
const QString UpdateHoldsPortDetail = QStringLiteral("A firmware update is using the port.");

// The longest command leaves a 115200 bit/s line in under 20 ms; a port that
// has not sent it after a second is stuck and is closed anyway.
constexpr quint32 DrainLimitMs = 1000;
// How often the close looks whether the last bytes have left.
constexpr qint32 DrainPollMs = 5;

bool updateHoldsPort(const Station &station)
{
    return station.firmware.updateInProgress;
}

} // namespace

bool refuseDuringFirmwareUpdate(Station &station)
{
    if (!updateHoldsPort(station))
        return false;
    station.appendActivityLog(UpdateRunningText);
    return true;
}

bool applyLineSettings(Station &station)
{
    return station.port().setSettings(QLatin1String(DeviceLineSettings));
}

bool openPort(Station &station)
{
    if (!station.port().open())
        return false;
    station.LineBuffer.clear();
    return true;
}

bool sendText(Station &station, const QString &text)
{
    return sendBytes(station, toWire(text));
}

bool sendBytes(Station &station, const QByteArray &bytes)
{
    if (updateHoldsPort(station))
        return false;
    return station.port().write(bytes);
}

void closePort(Station &station)
{
    if (!updateHoldsPort(station))
        station.port().close();
}

void closePortAfterSending(Station &station)
{
    if (updateHoldsPort(station))
        return;
    SerialPort &port = station.port();
    Platform &platform = station.platform();
    const quint32 start = platform.tickCount();
    // drain(0) only asks; the waiting happens here, with the window's events running.
    while (port.isOpen() && !port.drain(0) && platform.tickCount() - start < DrainLimitMs
           && !platform.isClosing())
        station.WaitMs(DrainPollMs);
    closePort(station);
}

void normalisePortListName(Station &station)
{
    if (!station.text(ControlName::Combo1).startsWith(QLatin1String("COM")))
        station.setText(ControlName::Combo1, QStringLiteral("COM1"));
}

void showPortFailure(Station &station, const QString &detail)
{
    QString shown = detail;
    if (shown.isEmpty())
        shown = updateHoldsPort(station) ? UpdateHoldsPortDetail : portFailureDetail(station.port());
    station.platform().messageBox(PortFailureText, shown);
}

} // namespace pelzo
