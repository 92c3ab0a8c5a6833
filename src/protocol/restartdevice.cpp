#include "protocol/restartdevice.h"

#include "protocol/exchangeport.h"
#include "protocol/restartcommand.h"
#include "ui/form1.h"

#include <QPushButton>

namespace pelzo {

namespace {

// Lets a port that another action closed a moment ago settle before it opens again.
constexpr qint32 BeforeOpenMs = 100;
// A device busy when the first command came gets a second one half a second later.
constexpr qint32 BetweenCommandsMs = 500;

const QString IdleCaption = QStringLiteral("restart");

// The window is put right before the message box holds it.
void fail(Form1 &form, bool opened)
{
    if (opened)
        closePort(form);
    form.Command9->setText(IdleCaption);
    showPortFailure(form);
}

} // namespace

void restartDevice(Form1 &form)
{
    if (refuseDuringFirmwareUpdate(form))
        return;
    if (form.port().isOpen()) {
        closePort(form);
        form.Command9->setText(PortIsOpenCaption);
        return;
    }

    form.WaitMs(BeforeOpenMs);
    if (!openPort(form))
        return fail(form, false);
    if (!sendText(form, RebootCommand))
        return fail(form, true);
    form.WaitMs(BetweenCommandsMs);
    if (!sendText(form, RebootCommand))
        return fail(form, true);
    closePortAfterSending(form);
    form.Command9->setText(IdleCaption);
}

} // namespace pelzo
