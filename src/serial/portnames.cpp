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
    return QStringLiteral("COM%1").arg(number);
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

QString portDevicePath(int number, const QString &portsFolder)
{
#if !defined(Q_OS_WIN)
    const QString link = QDir(portsFolder).filePath(QStringLiteral("COM%1").arg(number));
    if (QFileInfo(link).isSymLink())
        return link;
#else
    Q_UNUSED(portsFolder);
#endif
    return fixedDevice(number);
}

} // namespace pelzo
