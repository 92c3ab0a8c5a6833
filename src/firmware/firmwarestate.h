#pragma once

#include "core/outcome.h"

#include <QByteArray>

#include <optional>

namespace pelzo {

constexpr int BlockSize = 2048;
// Nothing smaller is a PELZO firmware.
constexpr qint32 MinImageBytes = 5000;

// A bootloader answers each block well within a second; this leaves room for a
// slow flash erase before a device that has stopped answering is given up.
constexpr qint32 StallTimeoutMs = 30000;

// Timer1 sends one bootloader connect request a second; Timer2 serves the
// bootloader's answers ten times a second.
constexpr int ConnectIntervalMs = 1000;
constexpr int TransferIntervalMs = 100;
// Ticks 1 to 9 of an update's connect phase send a request, the tenth gives up.
constexpr int ConnectTickLimit = 10;
// A recovery waits two minutes for the owner to switch the station off and on.
constexpr int RecoveryTickLimit = 121;

// What the window remembers about the firmware image and the update under way.
struct FirmwareState
{
    qint32 RomLength = 0;
    QByteArray RomImage;  // the image as sent: file bytes, 0xFF filler, one spare byte
    qint32 BlockIndex = 0;
    int BootReady = 0;
    qint32 ConnectTries = 0;
    qint32 connectTickLimit = ConnectTickLimit;
    QByteArray BlockBuf = QByteArray(BlockSize + 1, '\0');

    // Raised by every update start and by a cancel: a start suspended in a
    // wait whose number is no longer current has been cancelled.
    quint32 startNumber = 0;
    // From the reset until the connect phase: a second click cancels the start.
    bool cancellable = false;
    // From the first connect request until the update ends: only then is a
    // byte at the start of Text1 a bootloader response.
    bool bootloaderAddressed = false;
    // From the header until the update ends; the stall time-out watches this span.
    bool headerSent = false;
    quint32 lastResponseTick = 0;
    // Blocks sent by a transfer that did not finish; the progress bar keeps
    // showing them until the next image or start, as a full bar reads as success.
    std::optional<qint32> unfinishedAt;
    // How long a transfer may go without a response before it is given up.
    // Kept here so that real-time tests can shorten it.
    qint32 stallTimeoutMs = StallTimeoutMs;
    // How the last update ended, once it has.
    std::optional<Outcome> ending;

    qint32 blockCount() const { return RomLength / BlockSize + 1; }
};

} // namespace pelzo
