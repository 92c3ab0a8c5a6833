#pragma once

namespace pelzo {

class Form1;

// "Open ROM" (Command1): choose a firmware image and prepare it for sending.
void openRom(Form1 &form);

} // namespace pelzo
