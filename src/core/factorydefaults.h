#pragma once

namespace pelzo {

class Station;

// The Default button: fills the window with the factory configuration and enables Write data.
void applyFactoryDefaults(Station &station);

} // namespace pelzo
