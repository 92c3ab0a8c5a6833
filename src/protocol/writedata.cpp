#include "protocol/writedata.h"

#include "core/station.h"
#include "protocol/exchangeport.h"
#include "protocol/writesequence.h"

namespace pelzo {

namespace {

// Lets the window show the cleared log before the port work starts.
constexpr qint32 BeforeOpenMs = 100;
// The device confirms within 8 s of the frequency command: 16 looks, 500 ms apart.
constexpr qint32 PollMs = 500;
constexpr int Polls = 16;
// The last two looks each tell the user that the write has not been confirmed yet.
constexpr int FirstFailNoticePoll = 14;
// Lets a confirmation that arrived with the last look be parsed before the port closes.
constexpr qint32 BeforeCloseMs = 100;

const QString IdleCaption = QStringLiteral("Write data");
const QString WorkingCaption = QStringLiteral("Writing");
const QString WritingText = QStringLiteral("Writing......");
const QString FailText = QStringLiteral("Write fail，Please try again.\r\n");
const QString CompleteText = QStringLiteral("Write complete");

// Each command carries its field as it reads now; a failed write is skipped.
void sendSequence(Station &station)
{
    bool staticAddress = false;
    for (const WriteCommand &command : writeSequence()) {
        if (command.sentWhen == SentWhen::StaticAddress && !staticAddress)
            continue;
        const QByteArray value = command.value(station);
        if (command.field == Field::AddressMode)
            staticAddress = value == staticAddressCode().toLatin1();
        sendBytes(station, commandText(command, value));
        for (int pace = 0; pace < command.pacesAfter; ++pace)
            station.WaitMs(CommandPaceMs);
    }
}

void pollForConfirmation(Station &station)
{
    for (int poll = 0; poll < Polls; ++poll) {
        station.WaitMs(PollMs);
        if (poll >= FirstFailNoticePoll)
            station.appendActivityLogText(FailText);
        if (station.FreqSaveSeen == 1) {
            station.appendActivityLog(CompleteText);
            return;
        }
    }
}

} // namespace

void writeData(Station &station)
{
    if (refuseDuringFirmwareUpdate(station))
        return;
    station.FreqSaveSeen = 0;
    station.setActivityLog(QString());
    station.setText(ControlName::Text30, QString());

    if (station.port().isOpen()) {
        station.setText(ControlName::Command6, PortIsOpenCaption);
        closePort(station);
        station.setEnabled(ControlName::Command7, true);
        return;
    }

    // From here a failing step is skipped: the confirmation alone tells the outcome.
    station.WaitMs(BeforeOpenMs);
    applyLineSettings(station);
    station.setText(ControlName::Command7, WorkingCaption);
    station.setActivityLog(WritingText);
    openPort(station);
    normalisePortListName(station);
    sendSequence(station);
    pollForConfirmation(station);
    station.WaitMs(BeforeCloseMs);
    station.setText(ControlName::Command7, IdleCaption);
    closePortAfterSending(station);
}

} // namespace pelzo
