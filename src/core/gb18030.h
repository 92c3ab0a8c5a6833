#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// GB18030 (which covers GBK) from a table the program carries
// (gb18030.table, made by tools/scripts/make-gb18030-table): Qt reads it only
// through ICU, which many Windows and macOS builds of Qt lack, and a station
// set up on a Chinese Windows system must read the same everywhere.
namespace pelzo::gb18030 {

struct Character
{
    char32_t code;
    int length; // how many bytes it took
};

// The character the bytes begin with, or nothing when they begin with no
// GB18030 code (also when a code is cut off at their end).
std::optional<Character> decodeFirst(QByteArrayView bytes);

// The code of a character, or nothing when GB18030 has none for it.
QByteArray encode(char32_t character);

} // namespace pelzo::gb18030
