#pragma once

namespace pelzo {

class Form1;

// Gives every field, drop-down, button and the progress bar its plain-words
// explanation: what it is, its form and limits, an example.
void explainControls(Form1 &form);

} // namespace pelzo
