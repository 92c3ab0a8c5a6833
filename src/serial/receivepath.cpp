#include "serial/receivepath.h"

namespace pelzo {

namespace {

constexpr char LineFeed = 10;
// Never part of a report line. Line noise and some adapters put NULs between
// lines; kept, they would hide the label of the line that follows.
constexpr char Nul = 0;
constexpr char CarriageReturn = 13;

} // namespace

void ReceivePath::assemble(QByteArrayView bytes, const LineHandler &afterEachByte)
{
    for (const char byte : bytes)
        Text1.appendByte(static_cast<unsigned char>(byte));
    for (const char byte : bytes) {
        if (byte == CarriageReturn) {
            if (!LineBuffer.isEmpty())
                afterEachByte(LineBuffer, LineState::Ended);
            LineBuffer.clear();
        } else if (byte != LineFeed && byte != Nul) {
            if (LineBuffer.size() >= LineBufferCap)
                continue; // the line does not change, so neither would the parse
            LineBuffer.append(byte);
        }
        afterEachByte(LineBuffer, LineState::Growing);
    }
}

} // namespace pelzo
