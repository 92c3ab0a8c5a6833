#pragma once

namespace pelzo {

class Station;

// The window's load: restores the port, probes the ports, fills the lists and
// prepares the serial port. Never shows a message; a failing step is skipped.
void formLoad(Station &station);

} // namespace pelzo
