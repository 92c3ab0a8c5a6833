#pragma once

#include "core/outcome.h"

namespace pelzo {

class Session;
class Station;

// "update": resets and reboots the device, then starts the connect
// requests. A click while a start can still be cancelled cancels it. Done
// means the connect phase runs; how the update ends, the session keeps.
Outcome startUpdate(Station &station, Session &session);

// Tick of Timer1: one bootloader connect request a second until the
// bootloader has answered or the tenth tick gives up.
void connectTick(Station &station, Session &session);

} // namespace pelzo
