#pragma once

namespace pelzo {

class Station;

// "Open ROM" (Command1): choose a firmware image and prepare it for sending.
void openRom(Station &station);

} // namespace pelzo
