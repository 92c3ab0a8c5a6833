#include "protocol/wifiapply.h"

#include "core/deviceconfig.h"
#include "core/textcodec.h"
#include "core/station.h"
#include "protocol/devicecommands.h"
#include "protocol/exchangeport.h"
#include "protocol/link.h"

namespace pelzo {

namespace {

// Lets the freshly opened port settle before the command goes out.
constexpr qint32 AfterOpenMs = 200;
// The device confirms within 12.8 s: 16 looks, 800 ms apart.
constexpr qint32 PollMs = 800;
constexpr int Polls = 16;

const QString IdleCaption = QStringLiteral("Apply");
const QString WorkingCaption = QStringLiteral("Write");
const QString WritingText = QStringLiteral("WIFI Writing.....\r\n");
const QString CompleteText = QStringLiteral("WIFI Write complete\r\n");
const QString ResetText = QStringLiteral("WIFI reset...\r\n");
const QString FailText = QStringLiteral("WIFI Write Fail\r\n");
const QString StoppedOtherDetail =
    QStringLiteral("Another exchange with the device was using the port and has been stopped. Press Apply again.");

QByteArray wifiCommand(const Station &station)
{
    return toWire(WifiKeyword) + station.fieldBytes(Field::WifiSsid, toWire) + ',' +
           station.fieldBytes(Field::WifiPassword, toWire) + toWire(CommandEnd);
}

// The caption is put right before the message box holds the window.
Outcome fail(Station &station, const Link &link, const Outcome &sofar)
{
    station.setCaption(Button::Apply, IdleCaption);
    Outcome outcome = portFailure(station, link);
    outcome.commandsSent = sofar.commandsSent;
    return outcome;
}

bool confirmed(Station &station, const Link &link)
{
    for (int poll = 0; poll < Polls; ++poll) {
        station.WaitMs(PollMs);
        if (link.replies.WifiSuccessSeen == 1)
            return true;
    }
    return false;
}

} // namespace

Outcome applyWifi(Station &station, Link &link)
{
    if (refuseDuringFirmwareUpdate(station, link))
        return updateHoldsPortOutcome();
    if (station.port().isOpen()) {
        station.cancelRunningExchange();
        closePort(station, link);
        station.setCaption(Button::Apply, IdleCaption);
        return Outcome::ended(Result::StoppedOther, StoppedOtherDetail);
    }

    Outcome outcome;
    station.setCaption(Button::Apply, WorkingCaption);
    if (!applyLineSettings(station) || !openPort(station, link))
        return fail(station, link, outcome);
    normalisePortListName(station);
    station.WaitMs(AfterOpenMs);
    if (!station.port().isOpen()) {
        station.setCaption(Button::Apply, IdleCaption);
        return Outcome::ended(Result::Cancelled);
    }

    // Only a confirmation of this command counts, not one seen earlier.
    link.replies.WifiSuccessSeen = 0;
    if (!sendBytes(station, link, wifiCommand(station), outcome))
        return fail(station, link, outcome);
    station.setActivityLog(WritingText);
    const bool success = confirmed(station, link);
    link.replies.WifiSuccessSeen = 0;
    if (success) {
        station.appendActivityLogText(CompleteText);
        if (!sendText(station, link, RebootCommand, outcome))
            return fail(station, link, outcome);
        station.appendActivityLogText(ResetText);
    } else {
        station.appendActivityLogText(FailText);
        outcome.result = Result::Unconfirmed;
    }
    closePortAfterSending(station, link);
    station.setCaption(Button::Apply, IdleCaption);
    return outcome;
}

} // namespace pelzo
