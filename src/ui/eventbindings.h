#pragma once

namespace pelzo {

class Form1;

// Binds every event of the window to its handler: the buttons, the two list
// picks, the key filters, the timers and the serial port's events.
void bindEvents(Form1 &form);

// The window's load.
void runLoad(Form1 &form);

} // namespace pelzo
