#pragma once

#include <QString>

#include <optional>

namespace pelzo {

constexpr int MaxPortNumber = 16;

// "COM" followed by the number, as the port list shows it.
QString portName(int number);

// The port number of a list entry "COM1" to "COM16", matched exactly.
std::optional<int> listedPortNumber(const QString &text);

// The system device that the window's "COMn" stands for. On Windows that is
// COMn itself; elsewhere a link named COMn in the ports folder wins, and
// otherwise a fixed table of the usual serial devices.
QString portDevicePath(int number, const QString &portsFolder);

} // namespace pelzo
