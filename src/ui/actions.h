#pragma once

namespace pelzo {

class Form1;

// Binds every button, list pick, timer tick and serial event to its action.
void connectActions(Form1 &form);

} // namespace pelzo
