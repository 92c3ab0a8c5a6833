#include "protocol/serialreceive.h"

#include "core/station.h"
#include "protocol/peizhi.h"
#include "serial/receivepath.h"

namespace pelzo {

void onSerialReceive(Station &station)
{
    const QByteArray bytes = station.port().readAll();
    if (!bytes.isEmpty())
        receiveBytes(station, bytes);
}

void receiveBytes(Station &station, QByteArrayView bytes)
{
    assembleLines(station, bytes, peizhi);
}

} // namespace pelzo
