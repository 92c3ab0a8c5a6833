#pragma once

#include <QString>

namespace pelzo {

constexpr int MaxPortNumber = 16;

// The system device that the window's "COMn" stands for. On Windows that is
// COMn itself; elsewhere a link named COMn in the ports folder wins, and
// otherwise a fixed table of the usual serial devices.
QString portDevicePath(int number, const QString &portsFolder);

} // namespace pelzo
