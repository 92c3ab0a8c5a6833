#include "firmware/updatestart.h"

#include "core/station.h"
#include "core/textcodec.h"
#include "firmware/bootloaderframes.h"
#include "firmware/session.h"
#include "firmware/updatelifecycle.h"
#include "protocol/devicecommands.h"
#include "protocol/exchangeport.h"
#include "serial/portfailure.h"

namespace pelzo {

namespace {

constexpr int ResetAckPolls = 5;
constexpr qint32 ResetAckPollMs = 1000; // the device acknowledges a reset within five seconds
constexpr qint32 AfterResetAckMs = 1000; // lets the device finish its reset before it is rebooted
constexpr qint32 PortSettleMs = 100;     // before (re)opening, so the previous close has taken effect
// "REBOOT#" takes under a millisecond on the line; the bound only matters when the port is stuck.
constexpr int RebootDrainMs = 1000;

const QString ChooseFirmware = QStringLiteral("Please choose fireware");

const QString CancelledDetail = QStringLiteral("The update was cancelled.");
const QString CatchTheBootloader = QStringLiteral(
    "If the station does not start, catch its bootloader: switch the station off, press update, then switch it on.");

// A failed port step of a running start: the port is ours only when it was
// open, and the window goes back to idle so that the next click starts afresh.
Outcome failStart(Station &station, Session &session, bool holdsPort, const Outcome &sofar)
{
    Outcome outcome = Outcome::ended(Result::PortFailed, portFailureDetail(station.port()));
    outcome.commandsSent = sofar.commandsSent;
    if (holdsPort)
        station.port().close();
    endUpdate(station, session, outcome);
    return outcome;
}

// A start that was cancelled while it waited; the port and the window belong
// to whatever happened since.
Outcome cancelledStart(const Outcome &sofar)
{
    Outcome outcome = Outcome::ended(Result::Cancelled, CancelledDetail);
    outcome.commandsSent = sofar.commandsSent;
    return outcome;
}

Outcome cancelStart(Station &station, Session &session)
{
    station.port().close();
    session.firmware.BlockIndex = 0;
    endUpdate(station, session, Outcome::ended(Result::Cancelled, CancelledDetail));
    station.appendActivityLog(QStringLiteral("Update cancelled."));
    return Outcome::ended(Result::StoppedOther);
}

bool write(Station &station, const QByteArray &bytes, Outcome &outcome)
{
    if (!station.port().write(bytes))
        return false;
    outcome.commandsSent << bytes;
    return true;
}

// Reset phase: five one-second polls for the acknowledgement. Leaves early
// when the start is no longer current.
void awaitResetAcknowledgement(Station &station, Session &session, quint32 start)
{
    for (int poll = 1; poll <= ResetAckPolls; ++poll) {
        station.WaitMs(ResetAckPollMs);
        if (!isCurrentStart(session, start))
            return;
        if (session.replies.EeramResetSeen == 1) {
            station.appendActivityLogText(QStringLiteral("\r\nreset eeram OK\r\n"));
            station.WaitMs(AfterResetAckMs);
            return;
        }
        station.setActivityLog(QStringLiteral("Wait for reset eeram %1/%2\r\n").arg(poll).arg(ResetAckPolls));
    }
    station.setActivityLog(QStringLiteral("Reset eeram fail,Please try again.\r\n"));
    setCancellable(station, session, false);
}

} // namespace

Outcome startUpdate(Station &station, Session &session)
{
    FirmwareState &fw = session.firmware;
    if (fw.RomLength < MinImageBytes) {
        station.setActivityLog(ChooseFirmware + QStringLiteral("\r\n"));
        return Outcome::ended(Result::Refused, ChooseFirmware);
    }
    station.setActivityLog(QStringLiteral("Please wait auto update.\r\n%1/%2").arg(fw.ConnectTries).arg(ConnectTickLimit));
    if (fw.cancellable)
        return cancelStart(station, session);

    station.WaitMs(PortSettleMs);
    SerialPort &port = station.port();
    if (!applyLineSettings(station) || !openPort(station, session))
        return Outcome::ended(Result::PortFailed, portFailureDetail(port));
    Outcome outcome;
    const quint32 start = beginUpdate(session);
    setCancellable(station, session, true);
    if (!write(station, toWire(ResetCommand), outcome))
        return failStart(station, session, true, outcome);
    session.replies.EeramResetSeen = 0;
    awaitResetAcknowledgement(station, session, start);
    if (!isCurrentStart(session, start))
        return cancelledStart(outcome);

    if (!write(station, toWire(RebootCommand), outcome))
        return failStart(station, session, true, outcome);
    fw.ConnectTries = 0;
    // Closing drops what the port has not sent yet, and the device would never reboot.
    port.drain(RebootDrainMs);
    port.close();
    station.WaitMs(PortSettleMs);
    if (!isCurrentStart(session, start))
        return cancelledStart(outcome);
    // Someone may have opened the port while it was closed: then it is theirs.
    if (!applyLineSettings(station) || !openPort(station, session))
        return failStart(station, session, false, outcome);
    session.Timer1->start();
    return outcome;
}

Outcome startRecovery(Station &station, Session &session)
{
    FirmwareState &fw = session.firmware;
    if (fw.RomLength < MinImageBytes)
        return Outcome::ended(Result::Refused, ChooseFirmware);
    if (!applyLineSettings(station) || !openPort(station, session))
        return Outcome::ended(Result::PortFailed, portFailureDetail(station.port()));
    beginUpdate(session);
    fw.ConnectTries = 0;
    fw.connectTickLimit = RecoveryTickLimit;
    session.Timer1->start();
    return {};
}

void connectTick(Station &station, Session &session)
{
    FirmwareState &fw = session.firmware;
    ++fw.ConnectTries;
    const QString count = QStringLiteral("%1/%2").arg(fw.ConnectTries).arg(fw.connectTickLimit);
    station.setActivityLog(QStringLiteral("Wait for update\r\n") + count);
    station.setStatus(count);

    const bool bootloaderFound = fw.BootReady == 1;
    if (bootloaderFound || fw.ConnectTries >= fw.connectTickLimit) {
        session.Timer1->stop();
        setCancellable(station, session, false);
        fw.BootReady = 0;
        // The header may have gone out in answer to the ninth request: then the transfer goes on.
        if (!bootloaderFound) {
            station.port().close();
            station.appendActivityLog(QStringLiteral("Connect fail, Please try again."));
            station.appendActivityLog(CatchTheBootloader);
            endUpdate(station, session, Outcome::ended(Result::NoAnswer, QStringLiteral("the bootloader did not answer")));
        }
        return;
    }

    session.receive.Text1.setText(QStringLiteral("  "));
    fw.BlockIndex = 0;
    fw.bootloaderAddressed = true;
    // A request that cannot be sent is passed over; the tenth tick ends the attempt.
    station.port().write(connectRequest());
}

} // namespace pelzo
