#pragma once

namespace pelzo {

class Form1;

// "update" (Command2): resets and reboots the device, then starts the connect
// requests. A click while a start can still be cancelled cancels it.
void startUpdate(Form1 &form);

// Tick of Timer1: one bootloader connect request a second until the
// bootloader has answered or the tenth tick gives up.
void connectTick(Form1 &form);

} // namespace pelzo
