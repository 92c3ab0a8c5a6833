#include "firmware/updatelifecycle.h"

#include "core/station.h"
#include "firmware/progresstext.h"
#include "firmware/session.h"

namespace pelzo {

quint32 beginUpdate(Session &session)
{
    FirmwareState &fw = session.firmware;
    // A connect phase whose port was lost may still be ticking; this start replaces it.
    session.Timer1->stop();
    session.updateHoldsPort = true;
    session.platform().keepAwake(true);
    fw.connectTickLimit = ConnectTickLimit;
    fw.bootloaderAddressed = false;
    fw.headerSent = false;
    fw.BootReady = 0;
    fw.unfinishedAt.reset();
    fw.ending.reset();
    return ++fw.startNumber;
}

bool isCurrentStart(const Session &session, quint32 startNumber)
{
    return session.updateHoldsPort && session.firmware.startNumber == startNumber;
}

void setCancellable(Station &station, Session &session, bool cancellable)
{
    session.firmware.cancellable = cancellable;
    station.setCaption(Button::Update, cancellable ? UpdateRunningCaption : UpdateCaption);
}

void endUpdate(Station &station, Session &session, const Outcome &ending)
{
    FirmwareState &fw = session.firmware;
    session.Timer1->stop();
    setCancellable(station, session, false);
    session.updateHoldsPort = false;
    session.platform().keepAwake(false);
    fw.bootloaderAddressed = false;
    fw.headerSent = false;
    fw.BootReady = 0;
    ++fw.startNumber;
    fw.ending = ending;
}

void setUpdateControlsEnabled(Station &station, bool enabled)
{
    station.setButtonEnabled(Button::OpenRom, enabled);
    station.setButtonEnabled(Button::Update, enabled);
    station.setButtonEnabled(Button::OpenPort, enabled);
    station.setPortListEnabled(enabled);
}

void restoreUpdateStatusCaption(Station &station)
{
    station.setUpdateStatus(QString::fromUtf8(UpdateStatusCaption));
}

} // namespace pelzo
