#pragma once

#include <QString>

namespace pelzo {

class Station;

// Captions of the update button: idle, and while a start may still be cancelled.
constexpr QLatin1String UpdateCaption("update");
constexpr QLatin1String UpdateRunningCaption("update...");

// Marks the window as updating from now on and returns the number of this
// start; a start suspended in a wait checks it with isCurrentStart().
quint32 beginUpdate(Station &station);
bool isCurrentStart(const Station &station, quint32 startNumber);

// Back to idle after any ending: Timer1 off, the button reads "update", the
// bootloader is no longer listened to, and a suspended start is stale.
// ConnectTries and BlockIndex are left to the caller.
void endUpdate(Station &station);

// Open ROM, update, the hidden Command3 and the port list are locked while blocks go out.
void setUpdateControlsEnabled(Station &station, bool enabled);

// The update status label as the window first shows it.
void restoreUpdateStatusCaption(Station &station);

} // namespace pelzo
