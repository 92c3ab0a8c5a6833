#include "protocol/restartdevice.h"

#include "core/station.h"
#include "protocol/devicecommands.h"
#include "protocol/exchangeport.h"

namespace pelzo {

namespace {

// Lets a port that another action closed a moment ago settle before it opens again.
constexpr qint32 BeforeOpenMs = 100;
// A device busy when the first command came gets a second one half a second later.
constexpr qint32 BetweenCommandsMs = 500;

const QString IdleCaption = QStringLiteral("restart");

// The window is put right before the message box holds it.
void fail(Station &station, bool opened)
{
    if (opened)
        closePort(station);
    station.setText(ControlName::Command9, IdleCaption);
    showPortFailure(station);
}

} // namespace

void restartDevice(Station &station)
{
    if (refuseDuringFirmwareUpdate(station))
        return;
    if (station.port().isOpen()) {
        closePort(station);
        station.setText(ControlName::Command9, PortIsOpenCaption);
        return;
    }

    station.WaitMs(BeforeOpenMs);
    if (!openPort(station))
        return fail(station, false);
    if (!sendText(station, RebootCommand))
        return fail(station, true);
    station.WaitMs(BetweenCommandsMs);
    if (!sendText(station, RebootCommand))
        return fail(station, true);
    closePortAfterSending(station);
    station.setText(ControlName::Command9, IdleCaption);
}

} // namespace pelzo
