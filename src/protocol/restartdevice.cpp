#include "protocol/restartdevice.h"

#include "core/station.h"
#include "protocol/devicecommands.h"
#include "protocol/exchangeport.h"
#include "protocol/link.h"

namespace pelzo {

namespace {

// Lets a port that another action closed a moment ago settle before it opens again.
constexpr qint32 BeforeOpenMs = 100;
// A device busy when the first command came gets a second one half a second later.
constexpr qint32 BetweenCommandsMs = 500;

const QString IdleCaption = QStringLiteral("restart");

// The window is put right before the message box holds it.
Outcome fail(Station &station, const Link &link, bool opened, const Outcome &sofar)
{
    if (opened)
        closePort(station, link);
    station.setCaption(Button::Restart, IdleCaption);
    Outcome outcome = portFailure(station, link);
    outcome.commandsSent = sofar.commandsSent;
    return outcome;
}

} // namespace

Outcome restartDevice(Station &station, Link &link)
{
    if (refuseDuringFirmwareUpdate(station, link))
        return updateHoldsPortOutcome();
    if (station.port().isOpen()) {
        closePort(station, link);
        station.setCaption(Button::Restart, PortIsOpenCaption);
        return Outcome::ended(Result::StoppedOther);
    }

    Outcome outcome;
    station.WaitMs(BeforeOpenMs);
    if (!openPort(station, link))
        return fail(station, link, false, outcome);
    if (!sendText(station, link, RebootCommand, outcome))
        return fail(station, link, true, outcome);
    station.WaitMs(BetweenCommandsMs);
    if (!sendText(station, link, RebootCommand, outcome))
        return fail(station, link, true, outcome);
    closePortAfterSending(station, link);
    station.setCaption(Button::Restart, IdleCaption);
    return outcome;
}

} // namespace pelzo
