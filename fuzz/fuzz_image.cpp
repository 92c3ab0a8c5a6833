// Arbitrary firmware files: the image, the header and every block frame must
// describe exactly the file, whatever its size and contents.
#include "firmware/bootloaderframes.h"
#include "firmware/firmwarestate.h"
#include "firmware/romimage.h"

#include <QFile>
#include <QTemporaryDir>

#include "fuzzcheck.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("fuzz.bin"));
    // The first two bytes stretch the file so that sizes over many blocks are
    // reached without feeding the fuzzer megabytes: the rest is repeated.
    if (size < 2)
        return 0;
    const int repeat = (data[0] | (data[1] << 8)) % 64 + 1;
    const QByteArray unit(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const QByteArray content = unit.repeated(unit.isEmpty() ? 0 : repeat);
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    const pelzo::RomImageFile rom = pelzo::readRomImage(path);
    if (content.size() >= pelzo::MaxImageBytes) {
        FUZZ_CHECK(!rom.error.isEmpty() && rom.length == 0);
        return 0;
    }
    FUZZ_CHECK(rom.error.isEmpty());
    FUZZ_CHECK(rom.length == content.size());
    const int blocks = rom.length / pelzo::BlockSize + 1;
    FUZZ_CHECK(rom.image.size() == blocks * pelzo::BlockSize + 1);

    const QByteArray header = pelzo::imageHeader(rom.length);
    FUZZ_CHECK(header.size() == 5 && uchar(header[0]) == 0x5E && uchar(header[4]) == 0xE5);
    const int described = uchar(header[3]) * pelzo::BlockSize + uchar(header[1]) * 256 + uchar(header[2]);
    FUZZ_CHECK(described == rom.length);

    QByteArray sent;
    QByteArray frame(pelzo::BlockSize + 1, '\0');
    for (int k = 0; k < blocks; ++k) {
        FUZZ_CHECK(pelzo::fillBlockFrame(rom.image, k, frame));
        unsigned char check = 0;
        for (const char byte : QByteArrayView(frame).first(pelzo::BlockSize))
            check ^= uchar(byte);
        FUZZ_CHECK(uchar(frame.back()) == check);
        sent += frame.left(pelzo::BlockSize);
    }
    FUZZ_CHECK(!pelzo::fillBlockFrame(rom.image, blocks, frame));
    FUZZ_CHECK(sent.left(rom.length) == content);
    FUZZ_CHECK(sent.mid(rom.length) == QByteArray(sent.size() - rom.length, '\xFF'));
    return 0;
}
