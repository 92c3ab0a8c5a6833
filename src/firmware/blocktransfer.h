#pragma once

namespace pelzo {

class Session;
class Station;

// Tick of Timer2: serves at most one bootloader response from the start of
// Text1, shows the progress, and ends the transfer after its last block or
// once the device has stopped answering.
void transferTick(Station &station, Session &session);

} // namespace pelzo
