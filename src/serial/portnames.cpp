#include "serial/portnames.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

namespace pelzo {

namespace {

constexpr int FirstUsbNumber = 5;
constexpr int FirstAcmNumber = 13;

// What macOS itself puts among the serial devices.
const QRegularExpression MacPseudoPort(QStringLiteral("bluetooth|debug|wlan|wireless|airpods|incoming"),
                                       QRegularExpression::CaseInsensitiveOption);

QString linkTarget(int number, const QString &portsFolder)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(number);
    Q_UNUSED(portsFolder);
    return {};
#else
    const QFileInfo link(QDir(portsFolder).filePath(portName(number)));
    if (!link.isSymLink())
        return {};
    // The device itself, not the link: the serial port's lock file is named
    // after the path it opens, and only the real name keeps two programs off
    // the same device.
    const QString device = link.canonicalFilePath();
    return device.isEmpty() ? link.symLinkTarget() : device;
#endif
}

QString fixedDevice(int number, const DeviceListing &listing)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(listing);
    return portName(number);
#else
    if (number < FirstUsbNumber)
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#if defined(Q_OS_MACOS)
    const QStringList adapters = macAdapters(listing.macDevices);
    const int index = number - FirstUsbNumber;
    return index < adapters.size() ? QStringLiteral("/dev/") + adapters.at(index)
                                   : QStringLiteral("/dev/cu.unassigned%1").arg(index);
#else
    Q_UNUSED(listing);
    if (number < FirstAcmNumber)
        return QStringLiteral("/dev/ttyUSB%1").arg(number - FirstUsbNumber);
    return QStringLiteral("/dev/ttyACM%1").arg(number - FirstAcmNumber);
#endif
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

DeviceListing DeviceListing::now(bool withSystemPorts)
{
    DeviceListing listing;
    if (withSystemPorts) {
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            listing.systemPorts << info.systemLocation();
    }
#if defined(Q_OS_MACOS)
    listing.macDevices = QDir(QStringLiteral("/dev")).entryList({QStringLiteral("cu.*")}, QDir::System, QDir::Name);
#endif
    return listing;
}

QStringList macAdapters(const QStringList &cuNames)
{
    QStringList adapters;
    for (const QString &name : cuNames) {
        if (name.startsWith(QLatin1String("cu.")) && !MacPseudoPort.match(name).hasMatch())
            adapters << name;
    }
    adapters.sort();
    return adapters;
}

QString portDevicePath(int number, const QString &portsFolder, const DeviceListing &listing)
{
    const QString linked = linkTarget(number, portsFolder);
    return linked.isEmpty() ? fixedDevice(number, listing) : linked;
}

QList<int> presentPorts(const QString &portsFolder, const DeviceListing &listing)
{
    QList<int> present;
    for (int number = 1; number <= MaxPortNumber; ++number) {
        const QString linked = linkTarget(number, portsFolder);
        const bool found = linked.isEmpty() ? listing.systemPorts.contains(fixedDevice(number, listing))
                                            : QFileInfo::exists(linked);
        if (found)
            present << number;
    }
    return present;
}

} // namespace pelzo
