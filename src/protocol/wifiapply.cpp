#include "protocol/wifiapply.h"

#include "core/deviceconfig.h"
#include "core/textcodec.h"
#include "core/station.h"
#include "protocol/devicecommands.h"
#include "protocol/exchangeport.h"

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
void fail(Station &station)
{
    station.setText(ControlName::Command8, IdleCaption);
    showPortFailure(station);
}

bool confirmed(Station &station)
{
    for (int poll = 0; poll < Polls; ++poll) {
        station.WaitMs(PollMs);
        if (station.WifiSuccessSeen == 1)
            return true;
    }
    return false;
}

} // namespace

void applyWifi(Station &station)
{
    if (refuseDuringFirmwareUpdate(station))
        return;
    if (station.port().isOpen()) {
        station.setText(ControlName::Command6, PortIsOpenCaption);
        closePort(station);
        station.setText(ControlName::Command8, IdleCaption);
        showPortFailure(station, StoppedOtherDetail);
        return;
    }

    station.setText(ControlName::Command8, WorkingCaption);
    if (!applyLineSettings(station) || !openPort(station))
        return fail(station);
    normalisePortListName(station);
    station.WaitMs(AfterOpenMs);
    if (!station.port().isOpen()) {
        station.setText(ControlName::Command8, IdleCaption);
        return;
    }

    // Only a confirmation of this command counts, not one seen earlier.
    station.WifiSuccessSeen = 0;
    if (!sendBytes(station, wifiCommand(station)))
        return fail(station);
    station.setActivityLog(WritingText);
    const bool success = confirmed(station);
    station.WifiSuccessSeen = 0;
    if (success) {
        station.appendActivityLogText(CompleteText);
        if (!sendText(station, RebootCommand))
            return fail(station);
        station.appendActivityLogText(ResetText);
    } else {
        station.appendActivityLogText(FailText);
    }
    closePortAfterSending(station);
    station.setText(ControlName::Command8, IdleCaption);
}

} // namespace pelzo
