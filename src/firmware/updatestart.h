#pragma once

namespace pelzo {

class Station;

// "update" (Command2): resets and reboots the device, then starts the connect
// requests. A click while a start can still be cancelled cancels it.
void startUpdate(Station &station);

// Tick of Timer1: one bootloader connect request a second until the
// bootloader has answered or the tenth tick gives up.
void connectTick(Station &station);

} // namespace pelzo
