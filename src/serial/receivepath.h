#pragma once

#include "serial/hexdump.h"

#include <QByteArray>

#include <functional>

namespace pelzo {

// A report line longer than this without a carriage return is cut here:
// no real line comes near it, and it keeps the per-byte parse cheap.
constexpr qsizetype LineBufferCap = 4096;

// How far the line handed to a handler has come.
enum class LineState {
    Growing, // more bytes of it may follow
    Ended,   // a carriage return ended it: nothing more will follow
};

// Turns received bytes into the hex text and into report lines.
class ReceivePath
{
public:
    // Looks at the line after every byte; at a carriage return it gets the
    // ended line once more, then the empty line that follows it.
    using LineHandler = std::function<void(const QByteArray &line, LineState state)>;

    // Appends the bytes to the hex text, then assembles them into LineBuffer,
    // calling the handler after each byte. Line feeds and NULs are left out.
    void assemble(QByteArrayView bytes, const LineHandler &afterEachByte);
    // Forgets a half-assembled line, so the next answer starts a line.
    void dropLine() { LineBuffer.clear(); }

    // The line being assembled.
    QByteArray LineBuffer;
    // The received bytes as hex digits; a bootloader answer stands at its start.
    HexDump Text1;
};

} // namespace pelzo
