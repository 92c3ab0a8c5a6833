#pragma once

#include "filebytes.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

// pelzo-sim as a process of its own, serving a pseudo-terminal that its
// folder's ports/COM1 links; its state, byte trace and flashed image are
// files in that folder. It stops when this goes out of scope.
class Emulator
{
public:
    static constexpr int StartTimeoutMs = 10000; // a loaded machine starts processes slowly

    explicit Emulator(const QStringList &options)
    {
        QDir().mkpath(file("ports"));
        m_process.start(PELZO_SIM_EXECUTABLE, QStringList{"--link", file("ports/COM1"), "--state", file("state.txt"),
                                                          "--trace", file("trace.txt"), "--flash-out", file("flash.bin")} +
                                                  options);
        // The link exists before the first line is printed.
        ready = m_process.waitForStarted(StartTimeoutMs) && m_process.waitForReadyRead(StartTimeoutMs) &&
                QFileInfo(file("ports/COM1")).isSymLink();
    }
    ~Emulator()
    {
        m_process.terminate();
        m_process.waitForFinished(StartTimeoutMs);
    }

    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(StartTimeoutMs);
    }

    // It exits by itself once it has dropped the link.
    bool exited()
    {
        m_process.waitForFinished(StartTimeoutMs);
        return m_process.state() == QProcess::NotRunning && m_process.exitCode() == 0;
    }

    QString folder() const { return m_folder.path(); }
    QString device() const { return QFileInfo(file("ports/COM1")).symLinkTarget(); }
    QString file(const char *name) const { return m_folder.filePath(name); }
    QByteArray state() const { return readBytes(file("state.txt")); }
    QByteArray trace() const { return readBytes(file("trace.txt")); }
    QByteArray flashed() const { return QFile::exists(file("flash.bin")) ? readBytes(file("flash.bin")) : QByteArray(); }

    bool ready = false;

private:
    QTemporaryDir m_folder;
    QProcess m_process;
};
