#pragma once

#include <QByteArray>

namespace pelzo {

class Form1;

// A report line longer than this without a carriage return is cut here:
// no real line comes near it, and it keeps the per-byte parse cheap.
constexpr qsizetype LineBufferCap = 4096;

// The serial receive event: reads every waiting byte and hands it on.
void onSerialReceive(Form1 &form);

// Appends the bytes to the hex dump, then assembles them into LineBuffer,
// running the parser after each byte (a parser failure is dropped here). A
// carriage return ends the line; line feeds and NULs are left out of it.
void receiveBytes(Form1 &form, QByteArrayView bytes);

} // namespace pelzo
