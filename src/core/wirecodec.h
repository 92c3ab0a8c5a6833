#pragma once

#include <QByteArray>
#include <QString>

namespace pelzo {

// Text travels to and from the device as UTF-8: every fixed command is ASCII,
// and free text such as a comment keeps its non-ASCII characters intact.
inline QByteArray toWire(const QString &text)
{
    return text.toUtf8();
}

inline QString fromWire(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

} // namespace pelzo
