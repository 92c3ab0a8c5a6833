#pragma once

#include "core/outcome.h"
#include "ui/controlname.h"

namespace pelzo {

class Platform;

// The message box, if any, with which the window reports how the action of
// the control `source` ended.
void showOutcome(Platform &platform, ControlName source, const Outcome &outcome);

} // namespace pelzo
