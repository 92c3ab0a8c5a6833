#pragma once

#include "core/outcome.h"

#include <QString>

namespace pelzo {

class Session;
class Station;

// Captions of the update button: idle, and while a start may still be cancelled.
constexpr QLatin1String UpdateCaption("update");
constexpr QLatin1String UpdateRunningCaption("update...");

// Marks the update as holding the port from now on and returns the number of
// this start; a start suspended in a wait checks it with isCurrentStart().
quint32 beginUpdate(Session &session);
bool isCurrentStart(const Session &session, quint32 startNumber);

// Whether a second click cancels the start; the update button says which.
void setCancellable(Station &station, Session &session, bool cancellable);

// Back to idle after any ending, which the session keeps: Timer1 off, the
// button reads "update", the bootloader is no longer listened to, and a
// suspended start is stale. ConnectTries and BlockIndex are left to the caller.
void endUpdate(Station &station, Session &session, const Outcome &ending);

// Open ROM, update, the hidden open-port button and the port list are locked while blocks go out.
void setUpdateControlsEnabled(Station &station, bool enabled);

// The update status label as the window first shows it.
void restoreUpdateStatusCaption(Station &station);

} // namespace pelzo
