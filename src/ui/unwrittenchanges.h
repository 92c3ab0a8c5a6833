#pragma once

#include "core/outcome.h"
#include "ui/controlname.h"

namespace pelzo {

class Form1;

// Before the action of `source` (or the window's closing, Form1) drops
// unwritten changes, the user is asked; false: keep them and do nothing.
bool mayDropChanges(Form1 &form, ControlName source);

// After the action of `source` ended, the fields it read, wrote or loaded
// become what the marks compare with.
void noteReference(Form1 &form, ControlName source, const Outcome &outcome);

} // namespace pelzo
