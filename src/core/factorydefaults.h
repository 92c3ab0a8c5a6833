#pragma once

namespace pelzo {

class Form1;

// The Default button: fills the window with the factory configuration and enables Write data.
void applyFactoryDefaults(Form1 &form);

} // namespace pelzo
