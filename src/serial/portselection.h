#pragma once

namespace pelzo {

class Station;

// A pick from the port list Combo1: "COM1" to "COM16" becomes the port
// number; while the port is open the change is refused with "Port is open".
void selectPort(Station &station);

} // namespace pelzo
