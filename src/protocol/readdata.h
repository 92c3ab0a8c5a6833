#pragma once

#include "core/outcome.h"

namespace pelzo {

class Station;
struct Link;

// Read data: probes the device until it answers "CONNECT", asks
// for its configuration until "READ END", and leaves the report in the
// fields. A click while the port is open cancels the exchange running.
Outcome readData(Station &station, Link &link);

} // namespace pelzo
