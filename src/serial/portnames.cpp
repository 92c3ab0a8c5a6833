#include "serial/portnames.h"

#include <QDir>
#include <QFileInfo>

namespace pelzo {

namespace {

#if defined(Q_OS_MACOS)
QString macDevice(int index)
{
    // USB adapters appear as /dev/cu.* with names of their own; take them in name order.
    const QStringList devices = QDir(QStringLiteral("/dev")).entryList({QStringLiteral("cu.*")}, QDir::System,
                                                                       QDir::Name);
    return index < devices.size() ? QStringLiteral("/dev/") + devices.at(index)
                                  : QStringLiteral("/dev/cu.unassigned%1").arg(index);
}
#endif

QString fixedDevice(int number)
{
#if defined(Q_OS_WIN)
    return portName(number);
#elif defined(Q_OS_MACOS)
    return number <= 4 ? QStringLiteral("/dev/ttyS%1").arg(number - 1) : macDevice(number - 5);
#else
    if (number <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    if (number <= 12)
        return QStringLiteral("/dev/ttyUSB%1").arg(number - 5);
    return QStringLiteral("/dev/ttyACM%1").arg(number - 13);
#endif
}

} // namespace

QString portName(int number)
{
    return QStringLiteral("COM%1").arg(number);
}

std::optional<int> listedPortNumber(const QString &text)
{
    for (int number = 1; number <= MaxPortNumber; ++number) {
        if (text == portName(number))
            return number;
    }
    return std::nullopt;
}

QString portDevicePath(int number, const QString &portsFolder)
{
#if !defined(Q_OS_WIN)
    const QFileInfo link(QDir(portsFolder).filePath(portName(number)));
    if (link.isSymLink()) {
        // The device itself, not the link: the serial port's lock file is
        // named after the path it opens, and only the real name keeps two
        // programs off the same device.
        const QString device = link.canonicalFilePath();
        return device.isEmpty() ? link.symLinkTarget() : device;
    }
#else
    Q_UNUSED(portsFolder);
#endif
    return fixedDevice(number);
}

} // namespace pelzo
