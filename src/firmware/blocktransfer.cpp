#include "firmware/blocktransfer.h"

#include "core/station.h"
#include "firmware/bootloaderframes.h"
#include "firmware/progresstext.h"
#include "firmware/session.h"
#include "firmware/updatelifecycle.h"

namespace pelzo {

namespace {

// A 2049-byte frame takes about 178 ms at 115200 bit/s; ten times that allows
// for a slow adapter without holding the window long if the line is stuck.
constexpr int LastFrameDrainMs = 2000;

const QString TwoBlanks = QStringLiteral("  ");

void noteResponse(Station &station, Session &session)
{
    session.receive.Text1.setText(TwoBlanks);
    session.firmware.lastResponseTick = station.platform().tickCount();
}

// Sends block BlockIndex; false when it could not be handed to the port.
bool sendBlock(Station &station, Session &session)
{
    FirmwareState &fw = session.firmware;
    return fillBlockFrame(fw.RomImage, fw.BlockIndex, fw.BlockBuf) && station.port().write(fw.BlockBuf);
}

// Serves the response at the start of Text1, if any. False only when a
// block frame could not be sent.
bool serveResponse(Station &station, Session &session)
{
    FirmwareState &fw = session.firmware;
    switch (bootResponseAt(session.receive.Text1.start(2))) {
    case BootResponse::None:
        return true;
    case BootResponse::HeaderWanted:
        noteResponse(station, session);
        // A header that does not go out is passed over: the device then stays
        // silent and the stall time-out ends the update.
        station.port().write(imageHeader(fw.RomLength));
        fw.BootReady = 1;
        fw.headerSent = true;
        return true;
    case BootResponse::NextBlock:
        noteResponse(station, session);
        if (!sendBlock(station, session))
            return false;
        ++fw.BlockIndex;
        return true;
    case BootResponse::SameBlockAgain:
        noteResponse(station, session);
        return sendBlock(station, session);
    }
    return true;
}

void finishTransfer(Station &station, Session &session, Outcome ending)
{
    FirmwareState &fw = session.firmware;
    station.port().close();
    setUpdateControlsEnabled(station, true);
    ending.blockCount = fw.blockCount();
    fw.ConnectTries = 0;
    fw.BlockIndex = 0;
    endUpdate(station, session, ending);
}

void giveUpTransfer(Station &station, Session &session, Result result, const QString &why, qint32 blocksSent)
{
    session.firmware.unfinishedAt = blocksSent;
    restoreUpdateStatusCaption(station);
    Outcome ending = Outcome::ended(result, why);
    ending.blocksSent = blocksSent;
    finishTransfer(station, session, ending);
    station.appendActivityLog(
        QStringLiteral("The update did not finish: %1 The device may need the update again: restart the device, "
                       "then press update.")
            .arg(why));
}

void completeTransfer(Station &station, Session &session)
{
    // Closing must not cut the last frame short.
    if (!station.port().drain(LastFrameDrainMs)) {
        giveUpTransfer(station, session, Result::PortFailed,
                       QStringLiteral("the last block did not leave the port (%1).").arg(station.port().lastError()),
                       session.firmware.BlockIndex - 1);
        return;
    }
    const qint32 count = session.firmware.blockCount();
    station.setUpdateStatus(completeCaption(roundedPercent(count, count)));
    Outcome done;
    done.blocksSent = count;
    finishTransfer(station, session, done);
    station.appendActivityLog(QStringLiteral("update complete"));
    if (session.onUpdateComplete)
        session.onUpdateComplete();
}

} // namespace

void transferTick(Station &station, Session &session)
{
    FirmwareState &fw = session.firmware;
    // Outside an update a stray 0x55, 0xC5 or 0xE5 is no request for a frame.
    if (fw.bootloaderAddressed && !serveResponse(station, session)) {
        giveUpTransfer(station, session, Result::PortFailed,
                       QStringLiteral("a block could not be sent (%1).").arg(station.port().lastError()), fw.BlockIndex);
        return;
    }

    const qint32 count = fw.blockCount();
    if (fw.BlockIndex != 0)
        station.setProgressValue(fw.BlockIndex);
    else
        station.setProgressValue(fw.unfinishedAt.value_or(count));
    if (fw.BlockIndex >= 1 && fw.BlockIndex < count) {
        setUpdateControlsEnabled(station, false);
        station.setUpdateStatus(transferringCaption(roundedPercent(fw.BlockIndex, count)));
    } else if (fw.BlockIndex == count) {
        completeTransfer(station, session);
        return;
    }

    // The device went away mid-transfer: nothing more can come, so waiting out the stall would only keep the window locked.
    if (fw.headerSent && !station.port().isOpen()) {
        giveUpTransfer(station, session, Result::PortFailed, QStringLiteral("the connection to the device was lost."),
                       fw.BlockIndex);
        return;
    }
    if (fw.headerSent && station.platform().tickCount() - fw.lastResponseTick >= quint32(fw.stallTimeoutMs)) {
        const QString why = QStringLiteral("the device has not answered for %1 seconds.").arg(fw.stallTimeoutMs / 1000);
        giveUpTransfer(station, session, Result::NoAnswer, why, fw.BlockIndex);
    }
}

} // namespace pelzo
