#pragma once

#include <QByteArray>
#include <QString>

namespace pelzo {

// The header counts whole blocks in one byte, so 256 blocks cannot be described.
constexpr qint64 MaxImageBytes = qint64(256) * 2048;

// A firmware file in the form in which it is sent, or why it cannot be.
struct RomImageFile
{
    qint32 length = 0;
    QByteArray image; // the file's bytes, 0xFF up to whole blocks (one more than the file fills), one spare 0
    QString error;    // empty when the file was read whole
};

// Reads the file straight into its padded image. The size is checked before
// anything is read, so a huge file is refused without being loaded.
RomImageFile readRomImage(const QString &path);

} // namespace pelzo
