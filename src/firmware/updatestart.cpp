#include "firmware/updatestart.h"

#include "core/wirecodec.h"
#include "firmware/bootloaderframes.h"
#include "firmware/updatelifecycle.h"
#include "serial/portfailure.h"
#include "ui/form1.h"

#include <QLineEdit>
#include <QPushButton>

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

const QString LineSettings = QStringLiteral("115200,n,8,1");
const QString ChooseFirmware = QStringLiteral("Please choose fireware");
const QString PortBusy = QStringLiteral("Port is use or no");

// A failed port step of a running start: the port is ours only when it was
// open, and the window goes back to idle so that the next click starts afresh.
void failStart(Form1 &form, bool holdsPort)
{
    const QString detail = portFailureDetail(form.port());
    if (holdsPort)
        form.port().close();
    endUpdate(form);
    form.platform().messageBox(PortBusy, detail);
}

// A start that was cancelled while it waited; the port and the window belong
// to whatever happened since.
void endCancelledStart(Form1 &form)
{
    form.platform().messageBox(PortBusy, QStringLiteral("The update was cancelled."));
}

void cancelStart(Form1 &form)
{
    form.port().close();
    form.firmware.BlockIndex = 0;
    endUpdate(form);
    form.appendActivityLog(QStringLiteral("Update cancelled."));
}

// Reset phase: five one-second polls for the acknowledgement. Leaves early
// when the start is no longer current.
void awaitResetAcknowledgement(Form1 &form, quint32 start)
{
    for (int poll = 1; poll <= ResetAckPolls; ++poll) {
        form.WaitMs(ResetAckPollMs);
        if (!isCurrentStart(form, start))
            return;
        if (form.EeramResetSeen == 1) {
            form.appendActivityLogText(QStringLiteral("\r\nreset eeram OK\r\n"));
            form.WaitMs(AfterResetAckMs);
            return;
        }
        form.setActivityLog(QStringLiteral("Wait for reset eeram %1/%2\r\n").arg(poll).arg(ResetAckPolls));
    }
    form.setActivityLog(QStringLiteral("Reset eeram fail,Please try again.\r\n"));
    form.Command2->setText(UpdateCaption);
}

} // namespace

void startUpdate(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    if (fw.RomLength < MinImageBytes) {
        form.setActivityLog(ChooseFirmware + QStringLiteral("\r\n"));
        form.platform().messageBox(ChooseFirmware);
        return;
    }
    form.setActivityLog(QStringLiteral("Please wait auto update.\r\n%1/%2").arg(fw.ConnectTries).arg(ConnectTickLimit));
    if (form.Command2->text() == UpdateRunningCaption) {
        cancelStart(form);
        return;
    }

    form.WaitMs(PortSettleMs);
    SerialPort &port = form.port();
    if (!port.setSettings(LineSettings) || !port.open()) {
        form.platform().messageBox(PortBusy, portFailureDetail(port));
        return;
    }
    const quint32 start = beginUpdate(form);
    form.Command2->setText(UpdateRunningCaption);
    if (!port.write(toWire(QStringLiteral("AT+RESET#\r\n"))))
        return failStart(form, true);
    form.EeramResetSeen = 0;
    awaitResetAcknowledgement(form, start);
    if (!isCurrentStart(form, start))
        return endCancelledStart(form);

    if (!port.write(toWire(QStringLiteral("REBOOT#\r\n"))))
        return failStart(form, true);
    fw.ConnectTries = 0;
    // Closing drops what the port has not sent yet, and the device would never reboot.
    port.drain(RebootDrainMs);
    port.close();
    form.WaitMs(PortSettleMs);
    if (!isCurrentStart(form, start))
        return endCancelledStart(form);
    // Someone may have opened the port while it was closed: then it is theirs.
    if (!port.setSettings(LineSettings) || !port.open())
        return failStart(form, false);
    form.Timer1->start();
}

void connectTick(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    ++fw.ConnectTries;
    const QString count = QStringLiteral("%1/%2").arg(fw.ConnectTries).arg(ConnectTickLimit);
    form.setActivityLog(QStringLiteral("Wait for update\r\n") + count);
    form.Text3->setText(count);

    const bool bootloaderFound = fw.BootReady == 1;
    if (bootloaderFound || fw.ConnectTries >= ConnectTickLimit) {
        form.Timer1->stop();
        form.Command2->setText(UpdateCaption);
        fw.BootReady = 0;
        // The header may have gone out in answer to the ninth request: then the transfer goes on.
        if (!bootloaderFound) {
            form.port().close();
            form.appendActivityLog(QStringLiteral("Connect fail, Please try again."));
            endUpdate(form);
        }
        return;
    }

    form.Text1.setText(QStringLiteral("  "));
    fw.BlockIndex = 0;
    fw.bootloaderAddressed = true;
    // A request that cannot be sent is passed over; the tenth tick ends the attempt.
    form.port().write(connectRequest());
}

} // namespace pelzo
