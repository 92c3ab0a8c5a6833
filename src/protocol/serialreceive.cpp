#include "protocol/serialreceive.h"

#include "core/station.h"
#include "protocol/link.h"
#include "protocol/peizhi.h"

namespace pelzo {

namespace {

// Device lines that are not UTF-8 are GBK, as a Chinese Windows system wrote them.
constexpr Fallback DeviceFallback = Fallback::Gb18030;

} // namespace

void onSerialReceive(Station &station, Link &link)
{
    const QByteArray bytes = station.port().readAll();
    if (!bytes.isEmpty())
        receiveBytes(station, link, bytes);
}

void receiveBytes(Station &station, Link &link, QByteArrayView bytes)
{
    const Station::UpdateBatch batch(station);
    link.receive.assemble(bytes, [&station, &link](const QByteArray &line, LineState state) {
        if (state == LineState::Growing) {
            peizhi(station, link, line, DeviceFallback, TextEnd::MoreToCome);
            return;
        }
        // Its last byte was read as the start of a character still to come;
        // now that none comes, the line is read again as the whole it is.
        if (DecodedBytes(line, DeviceFallback, TextEnd::MoreToCome).heldBack())
            peizhi(station, link, line, DeviceFallback, TextEnd::Whole);
    });
}

} // namespace pelzo
