#pragma once

#include "core/outcome.h"

namespace pelzo {

class Station;
struct Link;

// Apply: sends the Wi-Fi network name and password, waits for the
// device's "WIFI Write success", then restarts the device.
Outcome applyWifi(Station &station, Link &link);

} // namespace pelzo
