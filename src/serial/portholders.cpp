#include "serial/portholders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pelzo {

namespace {

#if defined(Q_OS_UNIX)

// Where the lockdev convention, UUCP and QSerialPort put their lock files.
const QStringList LockFolders{QStringLiteral("/var/lock"), QStringLiteral("/run/lock"),
                              QStringLiteral("/var/spool/lock"), QStringLiteral("/var/spool/uucp")};

// "LCK..ttyUSB0" after the device's name, and QSerialPort's "LCK..pts_3" after its path below /dev.
QStringList lockFileNames(const QString &devicePath)
{
    QStringList names{QStringLiteral("LCK..") + QFileInfo(devicePath).fileName()};
    QString relative = devicePath;
    if (relative.startsWith(QLatin1String("/dev/")))
        relative.remove(0, 5);
    relative.replace(QLatin1Char('/'), QLatin1Char('_'));
    names << QStringLiteral("LCK..") + relative;
    names.removeDuplicates();
    return names;
}

bool processRuns(qint64 pid)
{
    // A process of another user answers EPERM: it runs all the same.
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// The process id a lock file holds: ten ASCII digits in the lockdev style,
// or the first line of QLockFile's format.
std::optional<qint64> lockFilePid(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const qint64 pid = file.readLine(64).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? std::optional(pid) : std::nullopt;
}

#endif

#if defined(Q_OS_LINUX)

QString programOf(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
}

// The pseudo-terminal number of a device under /dev/pts, or nothing.
std::optional<int> ptyNumber(const QString &devicePath)
{
    if (!devicePath.startsWith(QLatin1String("/dev/pts/")))
        return std::nullopt;
    bool ok = false;
    const int number = devicePath.mid(9).toInt(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

// Whether the descriptor is the master side of pseudo-terminal `number`.
bool isPtyMaster(const QString &fdInfoPath, int number)
{
    QFile info(fdInfoPath);
    if (!info.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : info.readAll().split('\n')) {
        if (line.startsWith("tty-index:"))
            return line.mid(10).trimmed().toInt() == number;
    }
    return false;
}

#elif defined(Q_OS_UNIX)

QString programOf(qint64)
{
    return {};
}

#endif

} // namespace

QString describeHolder(const PortHolder &holder, const QString &devicePath)
{
    const QString who = holder.program.isEmpty() ? QStringLiteral("Another program (pid %1)").arg(holder.pid)
                                                 : QStringLiteral("%1 (pid %2)").arg(holder.program).arg(holder.pid);
    const QString what = holder.lockFile.isEmpty()
                             ? QStringLiteral("%1 has %2 open.").arg(who, devicePath)
                             : QStringLiteral("%1 has locked %2 (lock file %3).").arg(who, devicePath, holder.lockFile);
    return what + QStringLiteral(" Close that program, or end its connection to the port, then try again.");
}

std::optional<PortHolder> lockFileHolder(const QString &devicePath)
{
#if defined(Q_OS_UNIX)
    for (const QString &folder : LockFolders) {
        for (const QString &name : lockFileNames(devicePath)) {
            const QString path = QDir(folder).filePath(name);
            if (!QFileInfo::exists(path))
                continue;
            const auto pid = lockFilePid(path);
            if (!pid || *pid == QCoreApplication::applicationPid())
                continue;
            if (processRuns(*pid))
                return PortHolder{*pid, programOf(*pid), path};
            // Left behind by a process that has ended: nobody holds the port.
            QFile::remove(path);
        }
    }
#else
    Q_UNUSED(devicePath);
#endif
    return std::nullopt;
}

QList<PortHolder> processesWithDeviceOpen(const QString &devicePath)
{
    QList<PortHolder> holders;
#if defined(Q_OS_LINUX)
    struct stat device {};
    if (::stat(QFile::encodeName(devicePath).constData(), &device) != 0 || !S_ISCHR(device.st_mode))
        return holders;
    const qint64 self = QCoreApplication::applicationPid();
    const std::optional<int> pty = ptyNumber(devicePath);
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : pids) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == self)
            continue;
        const QString fdFolder = QStringLiteral("/proc/%1/fd").arg(pid);
        const QStringList fds = QDir(fdFolder).entryList(QDir::System | QDir::NoDotAndDotDot);
        bool usesDevice = false;
        bool isFarEnd = false;
        for (const QString &fd : fds) {
            struct stat target {};
            if (::stat(QFile::encodeName(fdFolder + QLatin1Char('/') + fd).constData(), &target) != 0 ||
                !S_ISCHR(target.st_mode))
                continue;
            usesDevice = usesDevice || target.st_rdev == device.st_rdev;
            if (pty && isPtyMaster(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd), *pty))
                isFarEnd = true;
        }
        // The process that holds a pseudo-terminal's master is its far end,
        // the device itself (an emulator), even when it keeps the slave open too.
        if (usesDevice && !isFarEnd)
            holders.append({pid, programOf(pid), {}});
    }
#else
    Q_UNUSED(devicePath);
#endif
    return holders;
}

bool lockOpenDevice(DeviceHandle handle)
{
#if defined(Q_OS_UNIX)
    return ::flock(handle, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
#else
    Q_UNUSED(handle);
    return true;
#endif
}

std::optional<QString> heldByAnother(DeviceHandle handle, const QString &devicePath)
{
#if defined(Q_OS_WIN)
    // Windows opens a serial port for one program at a time: a held port never gets this far.
    Q_UNUSED(handle);
    Q_UNUSED(devicePath);
    return std::nullopt;
#else
    const QList<PortHolder> users = processesWithDeviceOpen(devicePath);
    if (!lockOpenDevice(handle)) {
        if (!users.isEmpty())
            return describeHolder(users.front(), devicePath);
        return QStringLiteral("Another program holds a lock on %1. Close it, then try again.").arg(devicePath);
    }
    if (!users.isEmpty())
        return describeHolder(users.front(), devicePath);
    return std::nullopt;
#endif
}

} // namespace pelzo
