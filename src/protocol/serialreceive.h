#pragma once

#include <QByteArray>

namespace pelzo {

class Station;

// The serial receive event: reads every waiting byte and hands it on.
void onSerialReceive(Station &station);

// The bytes into the hex dump and LineBuffer, the parser after every byte.
void receiveBytes(Station &station, QByteArrayView bytes);

} // namespace pelzo
