#include "portlink.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool PortLink::create(const QString &linkPath, const QString &target, QString *error)
{
    const QFileInfo info(linkPath);
    if (!QDir().mkpath(info.absolutePath())) {
        *error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    const QByteArray path = QFile::encodeName(linkPath);
    struct stat existing {};
    if (lstat(path.constData(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            *error = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
            return false;
        }
        unlink(path.constData());
    }
    if (symlink(QFile::encodeName(target).constData(), path.constData()) != 0) {
        *error = QStringLiteral("symlink %1: %2").arg(linkPath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    linkPath_ = linkPath;
    target_ = target;
    return true;
}

void PortLink::remove()
{
    if (linkPath_.isEmpty())
        return;
    if (QFile::symLinkTarget(linkPath_) == QFileInfo(target_).absoluteFilePath())
        unlink(QFile::encodeName(linkPath_).constData());
    linkPath_.clear();
}
