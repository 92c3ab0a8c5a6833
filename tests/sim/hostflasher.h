#pragma once

#include <QByteArray>

// The host's side of a firmware transfer, written for the tests independently
// of the device: it frames the image and answers the bootloader's bytes the
// way the configuration program does, including its rule for 0x55.
class HostFlasher {
public:
    static constexpr int kBlockBytes = 2048;
    static const QByteArray kConnectRequest;

    explicit HostFlasher(const QByteArray &image) : image_(image) {}

    static QByteArray testImage(int size);

    QByteArray header() const;
    QByteArray frame(int index) const;
    int blockCount() const { return int(image_.size() / kBlockBytes) + 1; }

    // What the host sends in answer to one byte from the bootloader (nothing for other bytes).
    // Only the first 0xE5 brings the header: a second one answers a connect request that was
    // repeated while the first answer was on its way, and a header then would land in a frame.
    QByteArray answer(char fromDevice);
    bool done() const { return done_; }

    int corruptCheckOfBlock = -1;     // send this block with a wrong check byte
    bool resendPreviousOnRepeat = false;  // break the 0x55 rule: send the block before the index

private:
    QByteArray image_;
    bool headerSent_ = false;
    int index_ = 0;
    bool done_ = false;
};
