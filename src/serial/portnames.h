#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace pelzo {

// The start-up probe tries these; elsewhere than on Windows they are all the names there are.
constexpr int MaxPortNumber = 16;
// Windows numbers serial ports up to COM256 and often gives a USB adapter a
// number above 16; a port there is named as Windows names it.
#if defined(Q_OS_WIN)
constexpr int HighestPortNumber = 256;
#else
constexpr int HighestPortNumber = MaxPortNumber;
#endif

// "COM" followed by the number, as the port list shows it.
QString portName(int number);

// The port number of a list entry "COM1" to "COM" + HighestPortNumber, matched exactly.
std::optional<int> listedPortNumber(const QString &text);

// The system's serial devices, as a listing the naming rules work on.
struct DeviceListing
{
    QStringList systemPorts; // device paths of the serial ports the system lists now
    QStringList macDevices;  // the names in /dev that begin "cu." (macOS only)

    // The listing as it stands; the system's port list only when asked, as gathering it takes a while.
    static DeviceListing now(bool withSystemPorts = true);
};

// macOS names USB adapters /dev/cu.<something>; besides them it lists
// pseudo-ports of its own (Bluetooth, debug consoles). The adapters, in name
// order, with the pseudo-ports left out, so that they do not shift an
// adapter's COM number when they come and go.
QStringList macAdapters(const QStringList &cuNames);

// The system device that the window's "COMn" stands for, as the program
// folder says: a link named COMn in its "ports" folder (not on Windows), then
// a line "COMn=..." in the [ports] section of its ports.ini (on Windows
// another port, "COM3=COM23", elsewhere a device path), and otherwise
// COMn itself on Windows and a fixed table of the usual serial devices elsewhere.
QString portDevicePath(int number, const QString &programFolder,
                       const DeviceListing &listing = DeviceListing::now(false));

// The port numbers whose devices exist now, found without opening any of
// them: opening a port toggles its control lines, which resets many devices.
// A device that the program folder puts behind another number is listed
// under that number only.
QList<int> presentPorts(const QString &programFolder, const DeviceListing &listing = DeviceListing::now());

} // namespace pelzo
