#include "serial/portnames.h"

#include "serial/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

namespace pelzo {

namespace {

constexpr int FirstUsbNumber = 5;
constexpr int FirstAcmNumber = 13;
// A mapping of sixteen ports is a few hundred bytes; nothing beyond this is read.
constexpr qint64 MaxMappingFileBytes = 64 * 1024;

// What macOS itself puts among the serial devices.
const QRegularExpression MacPseudoPort(QStringLiteral("bluetooth|debug|wlan|wireless|airpods|incoming"),
                                       QRegularExpression::CaseInsensitiveOption);

QString linkTarget(int number, const QString &programFolder)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(number);
    Q_UNUSED(programFolder);
    return {};
#else
    const QFileInfo link(QDir(programFolder).filePath(QStringLiteral("ports/") + portName(number)));
    if (!link.isSymLink())
        return {};
    // The device itself, not the link: the serial port's lock file is named
    // after the path it opens, and only the real name keeps two programs off
    // the same device.
    const QString device = link.canonicalFilePath();
    return device.isEmpty() ? link.symLinkTarget() : device;
#endif
}

// The port a line of ports.ini puts behind COMn, or nothing.
QString mappedPort(int number, const QString &programFolder)
{
    QFile file(QDir(programFolder).filePath(QStringLiteral("ports.ini")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const auto value = iniValue(file.read(MaxMappingFileBytes), "ports", portName(number).toLatin1());
    return value ? QString::fromUtf8(*value) : QString();
}

// What COMn stands for by the program folder's own say, before the fixed table.
QString chosenDevice(int number, const QString &programFolder)
{
    const QString linked = linkTarget(number, programFolder);
    return linked.isEmpty() ? mappedPort(number, programFolder) : linked;
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
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
#if defined(Q_OS_WIN)
            listing.systemPorts << info.portName();
#else
            listing.systemPorts << info.systemLocation();
#endif
        }
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

QString portDevicePath(int number, const QString &programFolder, const DeviceListing &listing)
{
    const QString chosen = chosenDevice(number, programFolder);
    return chosen.isEmpty() ? fixedDevice(number, listing) : chosen;
}

QList<int> presentPorts(const QString &programFolder, const DeviceListing &listing)
{
    QList<int> present;
    for (int number = 1; number <= MaxPortNumber; ++number) {
        const QString device = portDevicePath(number, programFolder, listing);
        // A pseudo-terminal behind a link is in no system list of serial ports.
        const bool linked = !linkTarget(number, programFolder).isEmpty();
        if (listing.systemPorts.contains(device) || (linked && QFileInfo::exists(device)))
            present << number;
    }
    return present;
}

} // namespace pelzo
