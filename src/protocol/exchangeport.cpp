#include "protocol/exchangeport.h"

#include "core/wirecodec.h"
#include "serial/portfailure.h"
#include "ui/form1.h"

#include <QComboBox>

namespace pelzo {

namespace {

const QString LineSettings = QStringLiteral("115200,n,8,1");
const QString PortFailureText = QStringLiteral("Port is open or no");
const QString UpdateRunningText =
    QStringLiteral("A firmware update is using the port: wait until it has finished, then try again.");
const QString UpdateHoldsPortDetail = QStringLiteral("A firmware update is using the port.");

// The longest command leaves a 115200 bit/s line in under 20 ms; a port that
// has not sent it after a second is stuck and is closed anyway.
constexpr quint32 DrainLimitMs = 1000;
// How often the close looks whether the last bytes have left.
constexpr qint32 DrainPollMs = 5;

bool updateHoldsPort(const Form1 &form)
{
    return form.firmware.updateInProgress;
}

} // namespace

bool refuseDuringFirmwareUpdate(Form1 &form)
{
    if (!updateHoldsPort(form))
        return false;
    form.appendActivityLog(UpdateRunningText);
    return true;
}

bool applyLineSettings(Form1 &form)
{
    return form.port().setSettings(LineSettings);
}

bool openPort(Form1 &form)
{
    if (!form.port().open())
        return false;
    form.LineBuffer.clear();
    return true;
}

bool sendText(Form1 &form, const QString &text)
{
    if (updateHoldsPort(form))
        return false;
    return form.port().write(toWire(text));
}

void closePort(Form1 &form)
{
    if (!updateHoldsPort(form))
        form.port().close();
}

void closePortAfterSending(Form1 &form)
{
    if (updateHoldsPort(form))
        return;
    SerialPort &port = form.port();
    Platform &platform = form.platform();
    const quint32 start = platform.tickCount();
    // drain(0) only asks; the waiting happens here, with the window's events running.
    while (port.isOpen() && !port.drain(0) && platform.tickCount() - start < DrainLimitMs
           && !platform.isClosing())
        form.WaitMs(DrainPollMs);
    closePort(form);
}

void normalisePortListName(Form1 &form)
{
    if (!form.Combo1->currentText().startsWith(QLatin1String("COM")))
        form.Combo1->setEditText(QStringLiteral("COM1"));
}

void showPortFailure(Form1 &form, const QString &detail)
{
    QString shown = detail;
    if (shown.isEmpty())
        shown = updateHoldsPort(form) ? UpdateHoldsPortDetail : portFailureDetail(form.port());
    form.platform().messageBox(PortFailureText, shown);
}

} // namespace pelzo
