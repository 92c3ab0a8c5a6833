#pragma once

namespace pelzo {

class Station;

// Applies the report line in station.LineBuffer to the window: sets fields,
// raises reply flags, logs "Connect OK" / "Read end". Returns false when the
// line is malformed (a callsign without "-", an address with too few ","),
// after the fields cut before the fault have kept their new values.
bool peizhi(Station &station);

} // namespace pelzo
