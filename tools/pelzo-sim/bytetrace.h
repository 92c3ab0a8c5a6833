#pragma once

#include <QFile>
#include <QString>

// A readable record of the link: every burst of bytes in either direction with
// its time in milliseconds since start, as hex rows with the printable ASCII
// beside them, plus the device's own notes.
class ByteTrace {
public:
    enum class Direction { FromHost, FromDevice };

    // No path: tracing is off.
    bool open(const QString &path, QString *error);
    void bytes(qint64 atMs, Direction direction, const QByteArray &bytes);
    void note(qint64 atMs, const QString &text);

private:
    void writeLine(const QString &line);

    QFile file_;
};
