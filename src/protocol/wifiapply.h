#pragma once

namespace pelzo {

class Station;

// Apply (Command8): sends the Wi-Fi network name and password, waits for the
// device's "WIFI Write success", then restarts the device.
void applyWifi(Station &station);

} // namespace pelzo
