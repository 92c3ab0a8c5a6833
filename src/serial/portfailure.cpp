#include "serial/portfailure.h"

#include "serial/portnames.h"
#include "core/station.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <unistd.h>
#endif

namespace pelzo {

namespace {

// The group that owns serial devices on most Linux systems.
constexpr char UsualSerialGroup[] = "dialout";

QString portAndDevice(const SerialPort &port)
{
    const QString name = portName(port.commPort());
    const QString path = port.devicePath(port.commPort());
    return path == name ? name : QStringLiteral("%1 (%2)").arg(name, path);
}

} // namespace

bool deviceAccessDenied(const QString &devicePath)
{
#if defined(Q_OS_LINUX)
    return ::access(QFile::encodeName(devicePath).constData(), R_OK | W_OK) != 0 && errno == EACCES;
#else
    Q_UNUSED(devicePath);
    return false;
#endif
}

QString accessHint(const QString &devicePath)
{
    QString group = QFileInfo(devicePath).group();
    if (group.isEmpty() || group == QLatin1String("root"))
        group = QLatin1String(UsualSerialGroup);
    return QStringLiteral("Your user account may not use %1. Make it a member of the group \"%2\" that owns the "
                          "device (for example: sudo usermod -aG %2 $USER), then log out and in again.")
        .arg(devicePath, group);
}

QString portFailureDetail(const SerialPort &port)
{
    QString detail = QStringLiteral("%1: %2").arg(portAndDevice(port), port.lastError());
    const QString path = port.devicePath(port.commPort());
    if (deviceAccessDenied(path))
        detail += QStringLiteral("\n\n") + accessHint(path);
    return detail;
}

void reportLinkLost(Station &station)
{
    station.appendActivityLog(QStringLiteral("Connection to the device lost: %1").arg(portAndDevice(station.port())));
}

} // namespace pelzo
