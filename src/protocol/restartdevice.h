#pragma once

namespace pelzo {

class Form1;

// restart (Command9): sends "REBOOT#" twice. No answer is awaited.
void restartDevice(Form1 &form);

} // namespace pelzo
