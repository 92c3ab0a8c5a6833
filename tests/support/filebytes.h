#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read " + path.toLocal8Bit() + '>');
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Firmware-like bytes that no filler or pattern of the program could imitate by accident.
inline QByteArray imageBytes(qsizetype size)
{
    QByteArray bytes(size, '\0');
    quint32 x = 2463534242u;
    for (char &b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = char(x >> 24);
    }
    return bytes;
}

inline QString testData(const QString &name)
{
    return qEnvironmentVariable("PELZO_TEST_DATA") + QLatin1Char('/') + name;
}
