#include "firmware/bootloaderframes.h"

#include "firmware/firmwarestate.h"

#include <array>

namespace pelzo {

namespace {

constexpr char ConnectRequest[] = {'\x5F', '\x00', '\x00', '\xF5'};
constexpr char HeaderStart = '\x5E';
constexpr char HeaderEnd = '\xE5';

struct ResponseCode
{
    const char *hex;
    BootResponse response;
};

constexpr std::array responseCodes{
    ResponseCode{"E5", BootResponse::HeaderWanted},
    ResponseCode{"C5", BootResponse::NextBlock},
    ResponseCode{"55", BootResponse::SameBlockAgain},
};

} // namespace

QByteArray connectRequest()
{
    return QByteArray(ConnectRequest, sizeof ConnectRequest);
}

QByteArray imageHeader(qint32 romLength)
{
    const qint32 lastBlockBytes = romLength % BlockSize;
    QByteArray header;
    header += HeaderStart;
    header += char(lastBlockBytes / 256);
    header += char(lastBlockBytes % 256);
    header += char(romLength / BlockSize);
    header += HeaderEnd;
    return header;
}

unsigned char XorChecksum(const QByteArray &bytes)
{
    unsigned char check = 0;
    const char *data = bytes.constData();
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i)
        check ^= static_cast<unsigned char>(data[i]);
    return check;
}

bool fillBlockFrame(const QByteArray &romImage, qint32 index, QByteArray &blockBuf)
{
    const qsizetype start = qsizetype(index) * BlockSize;
    if (index < 0 || start + BlockSize > romImage.size())
        return false;
    blockBuf.resize(BlockSize + 1);
    std::copy_n(romImage.constData() + start, BlockSize, blockBuf.data());
    blockBuf[BlockSize] = char(XorChecksum(blockBuf));
    return true;
}

BootResponse bootResponseAt(QStringView hexDumpStart)
{
    for (const ResponseCode &code : responseCodes) {
        if (hexDumpStart.startsWith(QLatin1String(code.hex)))
            return code.response;
    }
    return BootResponse::None;
}

} // namespace pelzo
