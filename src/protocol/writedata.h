#pragma once

#include "core/outcome.h"

namespace pelzo {

class Station;
struct Link;

// Write data: sends the window's configuration to the device as
// the commands of writeSequence(), then waits for its "freq save".
Outcome writeData(Station &station, Link &link);

} // namespace pelzo
