#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace pelzo {

// Settings files are text in the system's 8-bit code page (UTF-8 on Linux and
// macOS, the ANSI code page on Windows), with CR LF after every line.
inline const QString SettingsFileLineEnd = QStringLiteral("\r\n");

inline QByteArray toSettingsFileText(const QString &text)
{
    return QStringEncoder(QStringConverter::System).encode(text);
}

inline QString fromSettingsFileText(QByteArrayView bytes)
{
    return QStringDecoder(QStringConverter::System).decode(bytes);
}

} // namespace pelzo
