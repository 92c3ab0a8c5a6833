#pragma once

#include <QByteArray>

#include <optional>

namespace pelzo {

// INI text as the profile-string services of Windows read and write it:
// "[section]" headers, "key=value" lines, names matched without regard to
// case, blanks around names and values ignored. Both work on the file's bytes
// so that a write changes one line and keeps every other byte as it was.

// The value of the first `key` in the first `section`, or nothing.
std::optional<QByteArray> iniValue(const QByteArray &file, const QByteArray &section, const QByteArray &key);

// The file with `key` set to `value`: an existing key has its line replaced,
// a new key goes after the last line of its section, a new section goes at
// the end of the file. Line ends follow the file's own (a new file gets the
// platform's).
QByteArray withIniValue(const QByteArray &file, const QByteArray &section, const QByteArray &key,
                        const QByteArray &value);

} // namespace pelzo
