#include "firmware/updatelifecycle.h"

#include "core/station.h"
#include "firmware/progresstext.h"

namespace pelzo {

quint32 beginUpdate(Station &station)
{
    FirmwareState &fw = station.firmware;
    // A connect phase whose port was lost may still be ticking; this start replaces it.
    station.Timer1->stop();
    fw.updateInProgress = true;
    fw.bootloaderAddressed = false;
    fw.headerSent = false;
    fw.BootReady = 0;
    fw.unfinishedAt.reset();
    return ++fw.startNumber;
}

bool isCurrentStart(const Station &station, quint32 startNumber)
{
    return station.firmware.updateInProgress && station.firmware.startNumber == startNumber;
}

void endUpdate(Station &station)
{
    FirmwareState &fw = station.firmware;
    station.Timer1->stop();
    station.setText(ControlName::Command2, UpdateCaption);
    fw.updateInProgress = false;
    fw.bootloaderAddressed = false;
    fw.headerSent = false;
    fw.BootReady = 0;
    ++fw.startNumber;
}

void setUpdateControlsEnabled(Station &station, bool enabled)
{
    station.setEnabled(ControlName::Command1, enabled);
    station.setEnabled(ControlName::Command2, enabled);
    station.setEnabled(ControlName::Command3, enabled);
    station.setEnabled(ControlName::Combo1, enabled);
}

void restoreUpdateStatusCaption(Station &station)
{
    station.setText(ControlName::Label2, QString::fromUtf8(UpdateStatusCaption));
}

} // namespace pelzo
