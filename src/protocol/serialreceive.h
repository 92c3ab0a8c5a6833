#pragma once

#include <QByteArray>

namespace pelzo {

class Station;
struct Link;

// The serial receive event: reads every waiting byte and hands it on.
void onSerialReceive(Station &station, Link &link);

// The bytes into the hex text and the line being assembled, the parser after every byte.
void receiveBytes(Station &station, Link &link, QByteArrayView bytes);

} // namespace pelzo
