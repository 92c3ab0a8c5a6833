#pragma once

#include "core/outcome.h"

namespace pelzo {

class Station;
struct Link;

// restart: sends "REBOOT#" twice. No answer is awaited.
Outcome restartDevice(Station &station, Link &link);

} // namespace pelzo
