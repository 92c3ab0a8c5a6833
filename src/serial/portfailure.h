#pragma once

#include <QString>

namespace pelzo {

class SerialPort;
class Station;

// Why the last operation on the port failed, for the detail text of a port
// message box: the port, the device it stands for, the system's reason, and
// for a device the user may not open, how to get access.
QString portFailureDetail(const SerialPort &port);

// True when the device exists and this user may not read and write it.
bool deviceAccessDenied(const QString &devicePath);

// How a user gets access to a serial device: membership of its group.
QString accessHint(const QString &devicePath);

// The device vanished while the port was open: one line in the ActivityLog.
void reportLinkLost(Station &station);

} // namespace pelzo
