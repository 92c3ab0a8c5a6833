#include "hostflasher.h"

const QByteArray HostFlasher::kConnectRequest("\x5F\x00\x00\xF5", 4);

QByteArray HostFlasher::testImage(int size)
{
    QByteArray image(size, 0);
    quint32 state = 0x12345678u + quint32(size);
    for (char &byte : image) {
        state = state * 1664525u + 1013904223u;
        byte = char(state >> 24);
    }
    return image;
}

QByteArray HostFlasher::header() const
{
    const int rest = int(image_.size() % kBlockBytes);
    const int whole = int(image_.size() / kBlockBytes);
    return QByteArray{"\x5E"} + char(rest / 256) + char(rest % 256) + char(whole) + char(0xE5);
}

QByteArray HostFlasher::frame(int index) const
{
    QByteArray block = image_.mid(qsizetype(index) * kBlockBytes, kBlockBytes);
    block.append(kBlockBytes - block.size(), char(0xFF));
    char check = 0;
    for (char byte : block)
        check ^= byte;
    if (index == corruptCheckOfBlock)
        check = char(~check);
    return block + check;
}

QByteArray HostFlasher::answer(char fromDevice)
{
    switch (uchar(fromDevice)) {
    case 0xE5:
        return std::exchange(headerSent_, true) ? QByteArray() : header();
    case 0xC5: {
        const QByteArray sent = frame(index_++);
        done_ = index_ == blockCount();
        return sent;
    }
    case 0x55:
        return frame(resendPreviousOnRepeat ? index_ - 1 : index_);
    default:
        return {};
    }
}
