#pragma once

namespace pelzo {

class Form1;

// Write data (Command7): sends the window's configuration to the device as
// the commands of writeSequence(), then waits for its "freq save".
void writeData(Form1 &form);

} // namespace pelzo
