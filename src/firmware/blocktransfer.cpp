#include "firmware/blocktransfer.h"

#include "firmware/bootloaderframes.h"
#include "firmware/progresstext.h"
#include "firmware/updatelifecycle.h"
#include "ui/form1.h"

#include <QLabel>
#include <QProgressBar>

namespace pelzo {

namespace {

// A 2049-byte frame takes about 178 ms at 115200 bit/s; ten times that allows
// for a slow adapter without holding the window long if the line is stuck.
constexpr int LastFrameDrainMs = 2000;

const QString TwoBlanks = QStringLiteral("  ");

void noteResponse(Form1 &form)
{
    form.Text1.setText(TwoBlanks);
    form.firmware.lastResponseTick = form.platform().tickCount();
}

// Sends block BlockIndex; false when it could not be handed to the port.
bool sendBlock(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    return fillBlockFrame(fw.RomImage, fw.BlockIndex, fw.BlockBuf) && form.port().write(fw.BlockBuf);
}

// Serves the response at the start of Text1, if any. False only when a
// block frame could not be sent.
bool serveResponse(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    switch (bootResponseAt(form.Text1.start(2))) {
    case BootResponse::None:
        return true;
    case BootResponse::HeaderWanted:
        noteResponse(form);
        // A header that does not go out is passed over: the device then stays
        // silent and the stall time-out ends the update.
        form.port().write(imageHeader(fw.RomLength));
        fw.BootReady = 1;
        fw.headerSent = true;
        return true;
    case BootResponse::NextBlock:
        noteResponse(form);
        if (!sendBlock(form))
            return false;
        ++fw.BlockIndex;
        return true;
    case BootResponse::SameBlockAgain:
        noteResponse(form);
        return sendBlock(form);
    }
    return true;
}

void finishTransfer(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    form.port().close();
    setUpdateControlsEnabled(form, true);
    fw.ConnectTries = 0;
    fw.BlockIndex = 0;
    endUpdate(form);
}

void giveUpTransfer(Form1 &form, const QString &why, qint32 blocksSent)
{
    form.firmware.unfinishedAt = blocksSent;
    restoreUpdateStatusCaption(form);
    finishTransfer(form);
    form.appendActivityLog(
        QStringLiteral("The update did not finish: %1 The device may need the update again: restart the device, "
                       "then press update.")
            .arg(why));
}

void completeTransfer(Form1 &form)
{
    // Closing must not cut the last frame short.
    if (!form.port().drain(LastFrameDrainMs)) {
        giveUpTransfer(form, QStringLiteral("the last block did not leave the port (%1).").arg(form.port().lastError()),
                       form.firmware.BlockIndex - 1);
        return;
    }
    const qint32 count = form.firmware.blockCount();
    form.Label2->setText(completeCaption(roundedPercent(count, count)));
    finishTransfer(form);
    form.appendActivityLog(QStringLiteral("update complete"));
}

} // namespace

void transferTick(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    // Outside an update a stray 0x55, 0xC5 or 0xE5 is no request for a frame.
    if (fw.bootloaderAddressed && !serveResponse(form)) {
        giveUpTransfer(form, QStringLiteral("a block could not be sent (%1).").arg(form.port().lastError()),
                       fw.BlockIndex);
        return;
    }

    const qint32 count = fw.blockCount();
    if (fw.BlockIndex != 0)
        form.ProgressBar1->setValue(fw.BlockIndex);
    else
        form.ProgressBar1->setValue(fw.unfinishedAt.value_or(count));
    if (fw.BlockIndex >= 1 && fw.BlockIndex < count) {
        setUpdateControlsEnabled(form, false);
        form.Label2->setText(transferringCaption(roundedPercent(fw.BlockIndex, count)));
    } else if (fw.BlockIndex == count) {
        completeTransfer(form);
        return;
    }

    if (fw.headerSent && form.platform().tickCount() - fw.lastResponseTick >= quint32(fw.stallTimeoutMs)) {
        const QString why = QStringLiteral("the device has not answered for %1 seconds.").arg(fw.stallTimeoutMs / 1000);
        giveUpTransfer(form, why, fw.BlockIndex);
    }
}

} // namespace pelzo
