#pragma once

#include <QList>
#include <QSerialPort>
#include <QString>

#include <optional>
#include <utility>

namespace pelzo {

// The system's handle of an open serial port: a descriptor on Unix, a HANDLE on Windows.
using DeviceHandle = decltype(std::declval<QSerialPort &>().handle());

// Another process that has a serial device open or locked.
struct PortHolder
{
    qint64 pid = 0;
    QString program; // empty when the system does not tell
    QString lockFile; // the lock file it holds, when that is how it was found
};

// What the user reads about a holder: "picocom (pid 4242) has /dev/ttyUSB0 open".
QString describeHolder(const PortHolder &holder, const QString &devicePath);

// The live process whose lock file (in the lockdev style, "LCK..ttyUSB0"
// holding its process id, as terminal programs and QSerialPort leave them)
// names the device. A lock file of a process that no longer runs is removed.
std::optional<PortHolder> lockFileHolder(const QString &devicePath);

// Other processes that have the device open, as far as the system tells.
QList<PortHolder> processesWithDeviceOpen(const QString &devicePath);

// Takes an advisory lock (flock) on the open device, as terminal programs do,
// so that they see the port is in use; false when another process holds one.
bool lockOpenDevice(DeviceHandle handle);

// Why nobody else may use the device now, or nothing when it is free: checked
// on the open device, before any byte is sent.
std::optional<QString> heldByAnother(DeviceHandle handle, const QString &devicePath);

} // namespace pelzo
