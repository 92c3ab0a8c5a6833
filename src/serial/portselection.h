#pragma once

#include "core/outcome.h"

namespace pelzo {

class Station;

// A pick from the port list: "COM1" to "COM16" (higher on Windows) becomes the port number; while
// the port is open the change is refused, with what the port reported.
Outcome selectPort(Station &station);

} // namespace pelzo
