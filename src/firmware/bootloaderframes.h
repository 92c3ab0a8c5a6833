#pragma once

#include <QByteArray>
#include <QString>

namespace pelzo {

// What goes to the bootloader, byte for byte.
QByteArray connectRequest();
// The 5-byte header that describes an image of romLength bytes.
QByteArray imageHeader(qint32 romLength);

// XOR of every byte but the last, which is the check-byte slot itself.
unsigned char XorChecksum(const QByteArray &bytes);

// Copies block `index` of the padded image into blockBuf and sets its check
// byte. False, with blockBuf untouched, when the image has no such block.
bool fillBlockFrame(const QByteArray &romImage, qint32 index, QByteArray &blockBuf);

// The bootloader's one-byte responses, as the hex dump shows them.
enum class BootResponse { None, HeaderWanted, NextBlock, SameBlockAgain };
BootResponse bootResponseAt(QStringView hexDumpStart);

} // namespace pelzo
