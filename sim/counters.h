#pragma once

#include <QtGlobal>

namespace pelzosim {

// What the device has done since it was created.
struct Counters {
    qint64 bytesReceived = 0;
    qint64 bytesSent = 0;
    qint64 garbledBytes = 0;  // arrived at other line settings than the device's

    int probes = 0;
    int reports = 0;
    int fieldWrites = 0;
    int wifiWrites = 0;
    int resets = 0;
    int reboots = 0;
    int ignoredLines = 0;
    int configChanges = 0;   // raised by every command that changed the configuration

    int connectRequests = 0;
    int blocksReceived = 0;  // blocks taken into the image
    int repeatedFrames = 0;  // frames that answered a 0x55 and were only checked
    int checkErrors = 0;
    int headerErrors = 0;
    int strayBytes = 0;      // host bytes the bootloader discarded
    int flashes = 0;         // completed transfers
    int failedTransfers = 0;
};

} // namespace pelzosim
