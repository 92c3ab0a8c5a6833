#pragma once

#include <QByteArray>

namespace pelzo {

constexpr int BlockSize = 2048;

// What the window remembers about the firmware image and the update under way.
struct FirmwareState
{
    qint32 RomLength = 0;
    QByteArray RomImage;  // the image as sent: file bytes, 0xFF filler, one spare byte
    qint32 BlockIndex = 0;
    int BootReady = 0;
    qint32 ConnectTries = 0;
    QByteArray BlockBuf = QByteArray(BlockSize + 1, '\0');
    // From the update start until it completes or fails. While it is set no
    // other action may close the port: that would leave the device half-flashed.
    bool updateInProgress = false;

    qint32 blockCount() const { return RomLength / BlockSize + 1; }
};

} // namespace pelzo
