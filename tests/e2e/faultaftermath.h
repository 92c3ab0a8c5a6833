#pragma once

// What every fault of the campaign must leave behind: a program that idles
// without spinning, holds no port, and has not touched the user's files.

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTest>

#include <sys/resource.h>

// Processor time (user and system) this process has used so far.
inline qint64 processCpuMs()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

// Share of a core used while the event loop idles for a while: a program that
// spins (a lost device reported in a loop, a timer gone wild) uses all of it.
inline double idleCoreShare()
{
    constexpr int IdleSpanMs = 500;
    QElapsedTimer wall;
    wall.start();
    const qint64 cpuBefore = processCpuMs();
    QTest::qWait(IdleSpanMs);
    return double(processCpuMs() - cpuBefore) / double(qMax<qint64>(1, wall.elapsed()));
}

// Above this share of a core, something spins; an idle window uses well under 1 %.
constexpr double SpinningShare = 0.5;

// Whether this process still has the file open (a serial port it did not close).
inline bool processHolds(const QString &devicePath)
{
    const QString wanted = QFileInfo(devicePath).canonicalFilePath();
    if (wanted.isEmpty())
        return false;
    QDirIterator fds(QStringLiteral("/proc/self/fd"), QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    while (fds.hasNext()) {
        if (QFileInfo(fds.next()).symLinkTarget() == wanted)
            return true;
    }
    return false;
}

// Whether this process holds QSerialPort's lock on the device (a lock file in
// /var/lock named after the device, whose first line is the holder's pid).
// The program opens a port by the device's own name, so that is the lock.
inline bool processHoldsLock(const QString &devicePath)
{
    QString name = devicePath;
    if (name.startsWith(QStringLiteral("/dev/")))
        name.remove(0, 5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    QFile lock(QStringLiteral("/var/lock/LCK..") + name);
    return lock.open(QIODevice::ReadOnly)
           && lock.readLine().trimmed().toLongLong() == QCoreApplication::applicationPid();
}

// Every file under a folder with a digest of its contents.
class FolderSnapshot
{
public:
    explicit FolderSnapshot(const QString &folder) : m_folder(folder), m_before(take()) {}

    bool unchanged() const { return take() == m_before; }

private:
    QMap<QString, QByteArray> take() const
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(m_folder, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info = it.fileInfo();
            // A port's link names a device: reading that would take the device's bytes.
            if (info.isSymLink()) {
                files.insert(path, "link to " + QFile::encodeName(info.symLinkTarget()));
                continue;
            }
            if (!info.isFile())
                continue;
            QFile file(path);
            files.insert(path, file.open(QIODevice::ReadOnly)
                                   ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                   : QByteArray("unreadable"));
        }
        return files;
    }

    QString m_folder;
    QMap<QString, QByteArray> m_before;
};
