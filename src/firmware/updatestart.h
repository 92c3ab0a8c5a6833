#pragma once

#include "core/outcome.h"

namespace pelzo {

class Session;
class Station;

// "update": resets and reboots the device, then starts the connect
// requests. A click while a start can still be cancelled cancels it. Done
// means the connect phase runs; how the update ends, the session keeps.
Outcome startUpdate(Station &station, Session &session);

// A station whose firmware does not start: no reset and no reboot, only
// connect requests, once a second for two minutes, for the bootloader that
// listens for a moment after the owner switches the station on.
Outcome startRecovery(Station &station, Session &session);

// Tick of Timer1: one bootloader connect request a second until the
// bootloader has answered or the tenth tick gives up.
void connectTick(Station &station, Session &session);

} // namespace pelzo
