#pragma once

#include <QByteArray>
#include <QString>

// The program's end of the emulator's pseudo-terminal, opened as a plain
// descriptor in raw mode. Every wait has a deadline so a broken emulator fails
// the test instead of hanging it.
class PtyPort {
public:
    ~PtyPort() { close(); }

    bool open(const QString &path);
    void close();
    bool write(const QByteArray &bytes);
    // Reads until the received bytes end with `end`; returns all received so far.
    QByteArray readUntil(const QByteArray &end, int timeoutMs);
    QByteArray readAvailable(int timeoutMs);
    // True when the far end dropped the link (read fails or reports end of file).
    bool waitForHangup(int timeoutMs);

private:
    enum class ReadResult { Data, Timeout, Closed };
    ReadResult readSome(int timeoutMs);

    int fd_ = -1;
    QByteArray buffer_;
};
