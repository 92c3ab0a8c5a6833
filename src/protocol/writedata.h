#pragma once

namespace pelzo {

class Station;

// Write data (Command7): sends the window's configuration to the device as
// the commands of writeSequence(), then waits for its "freq save".
void writeData(Station &station);

} // namespace pelzo
