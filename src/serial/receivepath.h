#pragma once

#include <QByteArray>

namespace pelzo {

class Station;

// A report line longer than this without a carriage return is cut here:
// no real line comes near it, and it keeps the per-byte parse cheap.
constexpr qsizetype LineBufferCap = 4096;

// What looks at LineBuffer after every received byte; its failures are dropped.
using LineHandler = bool (*)(Station &station);

// Appends the bytes to the hex dump, then assembles them into LineBuffer,
// calling the handler after each byte. A carriage return ends the line; line
// feeds and NULs are left out of it.
void assembleLines(Station &station, QByteArrayView bytes, LineHandler afterEachByte);

} // namespace pelzo
