#pragma once

#include "core/textcodec.h"

namespace pelzo {

class Station;

// Applies the report line in station.LineBuffer to the window: sets fields,
// raises reply flags, logs "Connect OK" / "Read end". Returns false when the
// line is malformed (a callsign without "-", an address with too few ","),
// after the fields cut before the fault have kept their new values.
bool peizhi(Station &station);
// The same, for a line whose 8-bit text is in `fallback` when it is not UTF-8
// (peizhi() itself reads the device's lines, GBK where not UTF-8).
bool peizhi(Station &station, Fallback fallback);

} // namespace pelzo
