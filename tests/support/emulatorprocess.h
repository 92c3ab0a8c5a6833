#pragma once

#include "filebytes.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

// pelzo-sim in a process of its own, serving a pseudo-terminal that the
// ports folder of its own program folder links as COM1. It keeps its state,
// its byte trace and the image it flashed in that folder; it stops when this
// goes out of scope.
class Emulator
{
public:
    static constexpr int StartTimeoutMs = 10000; // a loaded machine starts processes slowly

    explicit Emulator(const QStringList &options)
    {
        const QString link = m_folder.filePath(QStringLiteral("ports/COM1"));
        QDir().mkpath(m_folder.filePath(QStringLiteral("ports")));
        m_process.start(QStringLiteral(PELZO_SIM_EXECUTABLE),
                        QStringList{"--link", link, "--state", file("state.txt"), "--trace", file("trace.txt"),
                                    "--flash-out", file("flash.bin")} +
                            options);
        // The link exists before the first line is printed.
        ready = m_process.waitForStarted(StartTimeoutMs) && m_process.waitForReadyRead(StartTimeoutMs) &&
                QFileInfo(link).isSymLink();
    }
    ~Emulator() { stop(); }

    void stop()
    {
        m_process.terminate();
        m_process.waitForFinished(StartTimeoutMs);
    }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(StartTimeoutMs);
    }

    QString folder() const { return m_folder.path(); }
    QString device() const { return QFileInfo(m_folder.filePath(QStringLiteral("ports/COM1"))).symLinkTarget(); }
    QString file(const char *name) const { return m_folder.filePath(QLatin1String(name)); }
    QByteArray state() const { return readBytes(file("state.txt")); }
    QByteArray trace() const { return readBytes(file("trace.txt")); }
    QByteArray flashed() const { return QFile::exists(file("flash.bin")) ? readBytes(file("flash.bin")) : QByteArray(); }

    bool ready = false;

private:
    QTemporaryDir m_folder;
    QProcess m_process;
};
