#include "protocol/wifiapply.h"

#include "core/deviceconfig.h"
#include "protocol/exchangeport.h"
#include "protocol/restartcommand.h"
#include "ui/form1.h"

#include <QPushButton>

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

QString wifiCommand(const Form1 &form)
{
    return QStringLiteral("AT+WIFI,") + form.fieldText(Field::WifiSsid) + QLatin1Char(',')
           + form.fieldText(Field::WifiPassword) + QStringLiteral("#\r\n");
}

// The caption is put right before the message box holds the window.
void fail(Form1 &form)
{
    form.Command8->setText(IdleCaption);
    showPortFailure(form);
}

bool confirmed(Form1 &form)
{
    for (int poll = 0; poll < Polls; ++poll) {
        form.WaitMs(PollMs);
        if (form.WifiSuccessSeen == 1)
            return true;
    }
    return false;
}

} // namespace

void applyWifi(Form1 &form)
{
    if (refuseDuringFirmwareUpdate(form))
        return;
    if (form.port().isOpen()) {
        form.Command6->setText(PortIsOpenCaption);
        closePort(form);
        form.Command8->setText(IdleCaption);
        showPortFailure(form, StoppedOtherDetail);
        return;
    }

    form.Command8->setText(WorkingCaption);
    if (!applyLineSettings(form) || !openPort(form))
        return fail(form);
    normalisePortListName(form);
    form.WaitMs(AfterOpenMs);
    if (!form.port().isOpen()) {
        form.Command8->setText(IdleCaption);
        return;
    }

    // Only a confirmation of this command counts, not one seen earlier.
    form.WifiSuccessSeen = 0;
    if (!sendText(form, wifiCommand(form)))
        return fail(form);
    form.setActivityLog(WritingText);
    const bool success = confirmed(form);
    form.WifiSuccessSeen = 0;
    if (success) {
        form.appendActivityLogText(CompleteText);
        if (!sendText(form, RebootCommand))
            return fail(form);
        form.appendActivityLogText(ResetText);
    } else {
        form.appendActivityLogText(FailText);
    }
    closePortAfterSending(form);
    form.Command8->setText(IdleCaption);
}

} // namespace pelzo
