// The emulator's command reader and bootloader, on arbitrary host bytes.
// The input's first bytes pick the split and whether to go through REBOOT#
// into the bootloader first, so both parsers see the rest.
#include "device.h"

#include "fuzzcheck.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype chunk = qsizetype(data[0] % 32) + 1;
    const bool viaBootloader = data[1] & 1;
    const QByteArray stream(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    pelzosim::Device device;
    qint64 now = 0;
    QByteArray answered;
    if (viaBootloader) {
        device.hostBytes(now, "REBOOT#\r\n");
        device.hostBytes(++now, QByteArray("\x5F\x00\x00\xF5", 4));
        answered += device.takeDue(now).bytes;
        FUZZ_CHECK(device.phase() == pelzosim::Phase::Bootloader);
    }
    for (qsizetype at = 0; at < stream.size(); at += chunk) {
        device.hostBytes(++now, stream.mid(at, chunk));
        answered += device.takeDue(now).bytes;
        const pelzosim::Transfer &transfer = device.transfer();
        FUZZ_CHECK(transfer.blocksReceived >= 0 && transfer.blocksReceived <= transfer.blockCount);
    }
    // Whatever it was sent, the device settles: its remaining output comes due and ends.
    for (int i = 0; i < 1000 && device.nextDueMs(); ++i)
        answered += device.takeDue(*device.nextDueMs()).bytes;
    FUZZ_CHECK(!device.nextDueMs() || device.phase() == pelzosim::Phase::Firmware);
    const QByteArray image = device.flashedImage();
    FUZZ_CHECK(image.isEmpty() || image.size() == device.transfer().imageLength);
    return 0;
}
