#pragma once

namespace pelzo {

class Form1;

// Apply (Command8): sends the Wi-Fi network name and password, waits for the
// device's "WIFI Write success", then restarts the device.
void applyWifi(Form1 &form);

} // namespace pelzo
