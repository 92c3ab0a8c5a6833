#pragma once

namespace pelzo {

class Form1;

// The window's load: restores the port, probes the ports, fills the lists and
// prepares the serial port. Never shows a message; a failing step is skipped.
void formLoad(Form1 &form);

} // namespace pelzo
