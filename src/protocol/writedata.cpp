#include "protocol/writedata.h"

#include "protocol/exchangeport.h"
#include "protocol/writesequence.h"
#include "ui/form1.h"

#include <QPlainTextEdit>
#include <QPushButton>

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
void sendSequence(Form1 &form)
{
    bool staticAddress = false;
    for (const WriteCommand &command : writeSequence()) {
        if (command.sentWhen == SentWhen::StaticAddress && !staticAddress)
            continue;
        const QString value = command.value(form);
        if (command.field == Field::AddressMode)
            staticAddress = value == staticAddressCode();
        sendText(form, commandText(command, value));
        for (int pace = 0; pace < command.pacesAfter; ++pace)
            form.WaitMs(CommandPaceMs);
    }
}

void pollForConfirmation(Form1 &form)
{
    for (int poll = 0; poll < Polls; ++poll) {
        form.WaitMs(PollMs);
        if (poll >= FirstFailNoticePoll)
            form.appendActivityLogText(FailText);
        if (form.FreqSaveSeen == 1) {
            form.appendActivityLog(CompleteText);
            return;
        }
    }
}

} // namespace

void writeData(Form1 &form)
{
    if (refuseDuringFirmwareUpdate(form))
        return;
    form.FreqSaveSeen = 0;
    form.setActivityLog(QString());
    form.Text30->setPlainText(QString());

    if (form.port().isOpen()) {
        form.Command6->setText(PortIsOpenCaption);
        closePort(form);
        form.Command7->setEnabled(true);
        return;
    }

    // From here a failing step is skipped: the confirmation alone tells the outcome.
    form.WaitMs(BeforeOpenMs);
    applyLineSettings(form);
    form.Command7->setText(WorkingCaption);
    form.setActivityLog(WritingText);
    openPort(form);
    normalisePortListName(form);
    sendSequence(form);
    pollForConfirmation(form);
    form.WaitMs(BeforeCloseMs);
    form.Command7->setText(IdleCaption);
    closePortAfterSending(form);
}

} // namespace pelzo
