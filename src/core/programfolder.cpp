#include "core/programfolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace pelzo {

namespace {

bool canWriteInto(const QString &folder)
{
    // Permission bits alone do not tell (root, read-only mounts, ACLs): try it.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".pelzo-write-probe-XXXXXX")));
    return probe.open();
}

} // namespace

QString chooseProgramFolder(const QString &programDir, const QString &userConfigDir)
{
    if (canWriteInto(programDir))
        return programDir;
    QDir().mkpath(userConfigDir);
    return userConfigDir;
}

QString userConfigFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("pelzo-config"));
}

} // namespace pelzo
