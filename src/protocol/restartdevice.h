#pragma once

namespace pelzo {

class Station;

// restart (Command9): sends "REBOOT#" twice. No answer is awaited.
void restartDevice(Station &station);

} // namespace pelzo
