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
// A mapping of a few ports is a few hundred bytes; nothing beyond this is read.
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

// The program folder's ports.ini, read once for all the numbers it may name.
QByteArray portsIni(const QString &programFolder)
{
    QFile file(QDir(programFolder).filePath(QStringLiteral("ports.ini")));
    return file.open(QIODevice::ReadOnly) ? file.read(MaxMappingFileBytes) : QByteArray();
}

// What COMn stands for by the program folder's own say, before the fixed table.
QString chosenDevice(int number, const QString &programFolder, const QByteArray &ini)
{
    const QString linked = linkTarget(number, programFolder);
    if (!linked.isEmpty())
        return linked;
    const auto mapped = iniValue(ini, "ports", portName(number).toLatin1());
    return mapped ? QString::fromUtf8(*mapped) : QString();
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
    if (!text.startsWith(QLatin1String("COM")))
        return std::nullopt;
    bool isNumber = false;
    const int number = text.mid(3).toInt(&isNumber);
    // The round trip turns away "COM04", "COM+4" and " COM4".
    if (!isNumber || number < 1 || number > HighestPortNumber || portName(number) != text)
        return std::nullopt;
    return number;
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
    const QString chosen = chosenDevice(number, programFolder, portsIni(programFolder));
    return chosen.isEmpty() ? fixedDevice(number, listing) : chosen;
}

QList<int> presentPorts(const QString &programFolder, const DeviceListing &listing)
{
    const QByteArray ini = portsIni(programFolder);
    QStringList chosen;
    for (int number = 1; number <= HighestPortNumber; ++number)
        chosen << chosenDevice(number, programFolder, ini);
    QList<int> present;
    for (int number = 1; number <= HighestPortNumber; ++number) {
        const QString &own = chosen.at(number - 1);
        const QString device = own.isEmpty() ? fixedDevice(number, listing) : own;
        if (own.isEmpty() && chosen.contains(device))
            continue;
        // A pseudo-terminal behind a link is in no system list of serial ports.
        const bool linked = !linkTarget(number, programFolder).isEmpty();
        if (listing.systemPorts.contains(device) || (linked && QFileInfo::exists(device)))
            present << number;
    }
    return present;
}

} // namespace pelzo
