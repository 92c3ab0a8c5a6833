#include "serial/receivepath.h"

#include "protocol/peizhi.h"
#include "ui/form1.h"

namespace pelzo {

namespace {

constexpr char LineFeed = 10;
// Never part of a report line. Line noise and some adapters put NULs between
// lines; kept, they would hide the label of the line that follows.
constexpr char Nul = 0;
constexpr char CarriageReturn = 13;

} // namespace

void onSerialReceive(Form1 &form)
{
    const QByteArray bytes = form.port().readAll();
    if (!bytes.isEmpty())
        receiveBytes(form, bytes);
}

void receiveBytes(Form1 &form, QByteArrayView bytes)
{
    const Form1::UpdateBatch batch(form);
    for (const char byte : bytes)
        form.Text1.appendByte(static_cast<unsigned char>(byte));
    for (const char byte : bytes) {
        if (byte == CarriageReturn) {
            form.LineBuffer.clear();
        } else if (byte != LineFeed && byte != Nul) {
            if (form.LineBuffer.size() >= LineBufferCap)
                continue; // the line does not change, so neither would the parse
            form.LineBuffer.append(byte);
        }
        peizhi(form);
    }
}

} // namespace pelzo
