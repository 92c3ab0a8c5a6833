#pragma once

#include <QString>

namespace pelzo {

class SerialPort;
class Station;

// What the port list's item for port n shows when pointed at: the device and
// how the system describes it ("COM23: USB-SERIAL CH340").
QString portTooltip(const SerialPort &port, int number);

// The port list opens: ports plugged in since it was filled are added and
// ports that went away are removed, in COM order; its text stays. No port is
// opened to find them, so no device is disturbed and no running action either.
void refreshPortList(Station &station);

} // namespace pelzo
