#pragma once

#include "counters.h"
#include "journal.h"
#include "options.h"

#include <QByteArray>

namespace pelzosim {

enum class BootStage {
    AwaitConnect,   // scanning for the connect request
    AwaitHeader,    // connected, scanning for the image header
    AwaitFrame,     // asked for a frame; every byte from the ask on belongs to it
    Silent,         // stopped answering on purpose
    Complete,
    Failed,
};

struct Transfer {
    BootStage stage = BootStage::AwaitConnect;
    qint64 imageLength = 0;
    int blockCount = 0;
    int blocksReceived = 0;
    QString error;
};

// What the bootloader does about one received byte.
struct BootReaction {
    QByteArray send{};
    qint64 sendAtNs = 0;
    bool hangup = false;
    bool connected = false;  // the transfer has begun: stay in the bootloader
    bool finished = false;   // start the configuration firmware again
};

// Receives an image. Between frames it only listens when it has asked: bytes
// that come before the connect request, between header and connect request
// candidates, or while a block is being written or after it fell silent are
// counted as stray and dropped. Once it has asked, the next 2049 bytes are the
// frame, whatever they hold. A bad check byte ends the transfer without an
// image: the host has no way to send a block again that it has moved past.
class Bootloader {
public:
    Bootloader(const Options &options, Counters &counters, Journal &journal);

    void start();
    BootReaction take(char byte, qint64 atNs);

    const Transfer &transfer() const { return transfer_; }
    QByteArray image() const { return transfer_.stage == BootStage::Complete ? image_ : QByteArray(); }

private:
    BootReaction scan(char byte, qint64 atNs);
    BootReaction acceptHeader(qint64 atNs);
    BootReaction takeFrameByte(char byte, qint64 atNs);
    BootReaction frameComplete(qint64 atNs);
    BootReaction fail(const QString &error);
    BootReaction ask(char what, qint64 atNs, qint64 extraDelayNs);
    void discard(int count);

    const Options &options_;
    Counters &counters_;
    Journal &journal_;
    Transfer transfer_;
    QByteArray pending_;         // bytes being matched against a connect request or a header
    QByteArray frame_;
    bool askedCurrent_ = false;  // the frame being received answers a 0x55
    int connectRequests_ = 0;    // since the bootloader started
    QByteArray preview_;         // that frame's block, to compare with its counted copy
    qint64 listenFromNs_ = 0;
    QByteArray image_;
};

} // namespace pelzosim
