#include "protocol/writedata.h"

#include "core/station.h"
#include "protocol/exchangeport.h"
#include "protocol/link.h"
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
void sendSequence(Station &station, const Link &link, Outcome &outcome)
{
    bool staticAddress = false;
    for (const WriteCommand &command : writeSequence()) {
        if (command.sentWhen == SentWhen::StaticAddress && !staticAddress)
            continue;
        const QByteArray value = command.value(station);
        if (command.field == Field::AddressMode)
            staticAddress = value == staticAddressCode().toLatin1();
        if (sendBytes(station, link, commandText(command, value), outcome))
            outcome.fieldsSent << command.field;
        for (int pace = 0; pace < command.pacesAfter; ++pace)
            station.WaitMs(CommandPaceMs);
    }
}

bool confirmed(Station &station, const Link &link)
{
    for (int poll = 0; poll < Polls; ++poll) {
        station.WaitMs(PollMs);
        if (poll >= FirstFailNoticePoll)
            station.appendActivityLogText(FailText);
        if (link.replies.FreqSaveSeen == 1) {
            station.appendActivityLog(CompleteText);
            return true;
        }
    }
    return false;
}

} // namespace

Outcome writeData(Station &station, Link &link)
{
    if (refuseDuringFirmwareUpdate(station, link))
        return updateHoldsPortOutcome();
    link.replies.FreqSaveSeen = 0;
    station.setActivityLog(QString());
    station.clearWorkBox();

    if (station.port().isOpen()) {
        station.cancelRunningExchange();
        closePort(station, link);
        station.setButtonEnabled(Button::WriteData, true);
        return Outcome::ended(Result::StoppedOther);
    }

    // From here a failing step is skipped: the confirmation alone tells the outcome.
    Outcome outcome;
    station.WaitMs(BeforeOpenMs);
    applyLineSettings(station);
    station.setCaption(Button::WriteData, WorkingCaption);
    station.setActivityLog(WritingText);
    const bool opened = openPort(station, link);
    const QString openFailure = opened ? QString() : portFailure(station, link).reason;
    normalisePortListName(station);
    sendSequence(station, link, outcome);
    const bool confirmation = confirmed(station, link);
    station.WaitMs(BeforeCloseMs);
    station.setCaption(Button::WriteData, IdleCaption);
    closePortAfterSending(station, link);
    if (confirmation)
        return outcome;
    if (!opened || outcome.commandsSent.isEmpty()) {
        outcome.result = Result::PortFailed;
        outcome.reason = opened ? portFailure(station, link).reason : openFailure;
        return outcome;
    }
    outcome.result = Result::Unconfirmed;
    return outcome;
}

} // namespace pelzo
