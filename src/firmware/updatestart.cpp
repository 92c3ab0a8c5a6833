#include "firmware/updatestart.h"

#include "core/station.h"
#include "core/textcodec.h"
#include "firmware/bootloaderframes.h"
#include "firmware/updatelifecycle.h"
#include "protocol/devicecommands.h"
#include "protocol/exchangeport.h"
#include "serial/portfailure.h"

namespace pelzo {

namespace {

constexpr qint32 MinImageBytes = 5000; // nothing smaller is a PELZO firmware
constexpr int ResetAckPolls = 5;
constexpr qint32 ResetAckPollMs = 1000; // the device acknowledges a reset within five seconds
constexpr qint32 AfterResetAckMs = 1000; // lets the device finish its reset before it is rebooted
constexpr qint32 PortSettleMs = 100;     // before (re)opening, so the previous close has taken effect
constexpr qint32 ConnectTickLimit = 10;  // ticks 1 to 9 send a request, the tenth gives up
// "REBOOT#" takes under a millisecond on the line; the bound only matters when the port is stuck.
constexpr int RebootDrainMs = 1000;

const QString ChooseFirmware = QStringLiteral("Please choose fireware");
const QString PortBusy = QStringLiteral("Port is use or no");

// A failed port step of a running start: the port is ours only when it was
// open, and the window goes back to idle so that the next click starts afresh.
void failStart(Station &station, bool holdsPort)
{
    const QString detail = portFailureDetail(station.port());
    if (holdsPort)
        station.port().close();
    endUpdate(station);
    station.platform().messageBox(PortBusy, detail);
}

// A start that was cancelled while it waited; the port and the window belong
// to whatever happened since.
void endCancelledStart(Station &station)
{
    station.platform().messageBox(PortBusy, QStringLiteral("The update was cancelled."));
}

void cancelStart(Station &station)
{
    station.port().close();
    station.firmware.BlockIndex = 0;
    endUpdate(station);
    station.appendActivityLog(QStringLiteral("Update cancelled."));
}

// Reset phase: five one-second polls for the acknowledgement. Leaves early
// when the start is no longer current.
void awaitResetAcknowledgement(Station &station, quint32 start)
{
    for (int poll = 1; poll <= ResetAckPolls; ++poll) {
        station.WaitMs(ResetAckPollMs);
        if (!isCurrentStart(station, start))
            return;
        if (station.EeramResetSeen == 1) {
            station.appendActivityLogText(QStringLiteral("\r\nreset eeram OK\r\n"));
            station.WaitMs(AfterResetAckMs);
            return;
        }
        station.setActivityLog(QStringLiteral("Wait for reset eeram %1/%2\r\n").arg(poll).arg(ResetAckPolls));
    }
    station.setActivityLog(QStringLiteral("Reset eeram fail,Please try again.\r\n"));
    station.setText(ControlName::Command2, UpdateCaption);
}

} // namespace

void startUpdate(Station &station)
{
    FirmwareState &fw = station.firmware;
    if (fw.RomLength < MinImageBytes) {
        station.setActivityLog(ChooseFirmware + QStringLiteral("\r\n"));
        station.platform().messageBox(ChooseFirmware);
        return;
    }
    station.setActivityLog(QStringLiteral("Please wait auto update.\r\n%1/%2").arg(fw.ConnectTries).arg(ConnectTickLimit));
    if (station.text(ControlName::Command2) == UpdateRunningCaption) {
        cancelStart(station);
        return;
    }

    station.WaitMs(PortSettleMs);
    SerialPort &port = station.port();
    if (!applyLineSettings(station) || !openPort(station)) {
        station.platform().messageBox(PortBusy, portFailureDetail(port));
        return;
    }
    const quint32 start = beginUpdate(station);
    station.setText(ControlName::Command2, UpdateRunningCaption);
    if (!port.write(toWire(ResetCommand)))
        return failStart(station, true);
    station.EeramResetSeen = 0;
    awaitResetAcknowledgement(station, start);
    if (!isCurrentStart(station, start))
        return endCancelledStart(station);

    if (!port.write(toWire(RebootCommand)))
        return failStart(station, true);
    fw.ConnectTries = 0;
    // Closing drops what the port has not sent yet, and the device would never reboot.
    port.drain(RebootDrainMs);
    port.close();
    station.WaitMs(PortSettleMs);
    if (!isCurrentStart(station, start))
        return endCancelledStart(station);
    // Someone may have opened the port while it was closed: then it is theirs.
    if (!applyLineSettings(station) || !openPort(station))
        return failStart(station, false);
    station.Timer1->start();
}

void connectTick(Station &station)
{
    FirmwareState &fw = station.firmware;
    ++fw.ConnectTries;
    const QString count = QStringLiteral("%1/%2").arg(fw.ConnectTries).arg(ConnectTickLimit);
    station.setActivityLog(QStringLiteral("Wait for update\r\n") + count);
    station.setText(ControlName::Text3, count);

    const bool bootloaderFound = fw.BootReady == 1;
    if (bootloaderFound || fw.ConnectTries >= ConnectTickLimit) {
        station.Timer1->stop();
        station.setText(ControlName::Command2, UpdateCaption);
        fw.BootReady = 0;
        // The header may have gone out in answer to the ninth request: then the transfer goes on.
        if (!bootloaderFound) {
            station.port().close();
            station.appendActivityLog(QStringLiteral("Connect fail, Please try again."));
            endUpdate(station);
        }
        return;
    }

    station.Text1.setText(QStringLiteral("  "));
    fw.BlockIndex = 0;
    fw.bootloaderAddressed = true;
    // A request that cannot be sent is passed over; the tenth tick ends the attempt.
    station.port().write(connectRequest());
}

} // namespace pelzo
