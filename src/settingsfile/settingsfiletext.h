#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace pelzo {

// Settings files are text in the system's 8-bit code page (UTF-8 on Linux and
// macOS, the ANSI code page on Windows), with CR LF after every line.
inline const QString SettingsFileLineEnd = QStringLiteral("\r\n");

inline QByteArray toSettingsFileText(const QString &text)
{
    return QStringEncoder(QStringConverter::System).encode(text);
}

// A settings file read in pieces, turned into the bytes of its lines. A file
// that begins with a byte-order mark is read in that encoding: UTF-8 loses
// the mark, UTF-16 (as some editors save) becomes UTF-8. Any other file is
// taken byte for byte; the parser reads each line as UTF-8 where it is, and
// in the system's 8-bit encoding otherwise.
class FileText
{
public:
    QByteArray lineBytes(QByteArrayView piece);

private:
    bool m_started = false;
    std::optional<QStringDecoder> m_utf16;
};

} // namespace pelzo
