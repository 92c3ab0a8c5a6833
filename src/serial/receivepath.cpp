#include "serial/receivepath.h"

#include "core/station.h"

namespace pelzo {

namespace {

constexpr char LineFeed = 10;
// Never part of a report line. Line noise and some adapters put NULs between
// lines; kept, they would hide the label of the line that follows.
constexpr char Nul = 0;
constexpr char CarriageReturn = 13;

} // namespace

void assembleLines(Station &station, QByteArrayView bytes, LineHandler afterEachByte)
{
    const Station::UpdateBatch batch(station);
    for (const char byte : bytes)
        station.Text1.appendByte(static_cast<unsigned char>(byte));
    for (const char byte : bytes) {
        if (byte == CarriageReturn) {
            station.LineBuffer.clear();
        } else if (byte != LineFeed && byte != Nul) {
            if (station.LineBuffer.size() >= LineBufferCap)
                continue; // the line does not change, so neither would the parse
            station.LineBuffer.append(byte);
        }
        afterEachByte(station);
    }
}

} // namespace pelzo
