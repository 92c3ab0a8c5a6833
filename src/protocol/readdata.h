#pragma once

namespace pelzo {

class Station;

// Read data (Command6): probes the device until it answers "CONNECT", asks
// for its configuration until "READ END", and leaves the report in the
// fields. A click while the port is open cancels the exchange running.
void readData(Station &station);

} // namespace pelzo
