#pragma once

#include "core/textcodec.h"

#include <QByteArray>

namespace pelzo {

class Station;
struct Link;

// Applies one report line to the window: sets fields, raises reply flags,
// logs "Connect OK" / "Read end". Returns false when the line is malformed (a
// callsign without "-", an address with too few ","), after the fields cut
// before the fault have kept their new values. A line that is `whole` has all
// its bytes; one still arriving may end in part of a character.
bool peizhi(Station &station, Link &link, const QByteArray &line, Fallback fallback, TextEnd end);

} // namespace pelzo
