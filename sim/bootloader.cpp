#include "bootloader.h"

#include "bootprotocol.h"
#include "timebase.h"

namespace pelzosim {

namespace {

char xorOf(const QByteArray &bytes)
{
    char sum = 0;
    for (char byte : bytes)
        sum ^= byte;
    return sum;
}

QString hexByte(char byte)
{
    return QStringLiteral("0x%1").arg(uchar(byte), 2, 16, QLatin1Char('0'));
}

} // namespace

Bootloader::Bootloader(const Options &options, Counters &counters, Journal &journal)
    : options_(options), counters_(counters), journal_(journal)
{
}

void Bootloader::start()
{
    transfer_ = {};
    pending_.clear();
    frame_.clear();
    preview_.clear();
    image_.clear();
    askedCurrent_ = false;
    connectRequests_ = 0;
}

BootReaction Bootloader::take(char byte, qint64 atNs)
{
    switch (transfer_.stage) {
    case BootStage::AwaitConnect:
    case BootStage::AwaitHeader:
        return scan(byte, atNs);
    case BootStage::AwaitFrame:
        if (atNs >= listenFromNs_)
            return takeFrameByte(byte, atNs);
        break;
    case BootStage::Silent:
    case BootStage::Complete:
    case BootStage::Failed:
        break;
    }
    ++counters_.strayBytes;
    return {};
}

// A connect request is answered in both scanning stages, since the host sends
// another one when it missed the first answer; a header only once connected.
BootReaction Bootloader::scan(char byte, qint64 atNs)
{
    pending_.append(byte);
    while (!pending_.isEmpty()) {
        if (boot::kConnectRequest.startsWith(pending_)) {
            if (pending_.size() < boot::kConnectRequest.size())
                return {};
            pending_.clear();
            ++counters_.connectRequests;
            if (++connectRequests_ < options_.answerConnectFrom)
                return {};
            if (transfer_.stage == BootStage::AwaitConnect)
                journal_.add(QStringLiteral("bootloader connected"));
            transfer_.stage = BootStage::AwaitHeader;
            return {.send = options_.bootloaderStray + boot::kConnectAnswer,
                    .sendAtNs = atNs + msToNs(options_.answerDelayMs),
                    .connected = true};
        }
        if (transfer_.stage == BootStage::AwaitHeader && pending_.front() == boot::kHeaderStart) {
            if (pending_.size() < boot::kHeaderBytes)
                return {};
            const int lastBlockBytes = uchar(pending_[1]) * 256 + uchar(pending_[2]);
            if (pending_[4] == boot::kHeaderEnd && lastBlockBytes <= boot::kMaxLastBlockBytes)
                return acceptHeader(atNs);
            ++counters_.headerErrors;
            journal_.add(QStringLiteral("rejected header %1").arg(QString::fromLatin1(pending_.toHex(' '))));
        }
        discard(1);
    }
    return {};
}

BootReaction Bootloader::acceptHeader(qint64 atNs)
{
    const int wholeBlocks = uchar(pending_[3]);
    transfer_.imageLength = qint64(wholeBlocks) * boot::kBlockBytes + uchar(pending_[1]) * 256 + uchar(pending_[2]);
    transfer_.blockCount = wholeBlocks + 1;
    pending_.clear();
    journal_.add(QStringLiteral("header: %1 bytes in %2 blocks").arg(transfer_.imageLength).arg(transfer_.blockCount));
    if (options_.silentAfterHeader) {
        transfer_.stage = BootStage::Silent;
        journal_.add(QStringLiteral("falling silent after the header"));
        return {};
    }
    return ask(boot::kAskNext, atNs, 0);
}

BootReaction Bootloader::takeFrameByte(char byte, qint64 atNs)
{
    if (frame_.isEmpty() && options_.hangupIn == HangupPoint::Block
        && transfer_.blocksReceived == options_.hangupBlock) {
        journal_.add(QStringLiteral("dropping the link at block %1").arg(transfer_.blocksReceived));
        return {.hangup = true};
    }
    frame_.append(byte);
    if (frame_.size() < boot::kFrameBytes)
        return {};
    return frameComplete(atNs);
}

BootReaction Bootloader::frameComplete(qint64 atNs)
{
    const QByteArray block = frame_.left(boot::kBlockBytes);
    const char check = frame_.back();
    frame_.clear();
    const int index = transfer_.blocksReceived;
    if (xorOf(block) != check) {
        ++counters_.checkErrors;
        return fail(QStringLiteral("block %1: check byte %2, expected %3")
                        .arg(index).arg(hexByte(check), hexByte(xorOf(block))));
    }
    if (askedCurrent_) {
        ++counters_.repeatedFrames;
        preview_ = block;
        return ask(boot::kAskNext, atNs, 0);
    }
    if (!preview_.isEmpty() && std::exchange(preview_, {}) != block)
        return fail(QStringLiteral("block %1 differs from the copy sent on 0x55").arg(index));

    image_.append(block);
    ++transfer_.blocksReceived;
    ++counters_.blocksReceived;
    if (transfer_.blocksReceived == transfer_.blockCount) {
        image_.truncate(transfer_.imageLength);
        transfer_.stage = BootStage::Complete;
        ++counters_.flashes;
        journal_.add(QStringLiteral("image of %1 bytes flashed").arg(image_.size()));
        return {.finished = true};
    }
    if (options_.silentAfterBlock == index) {
        transfer_.stage = BootStage::Silent;
        journal_.add(QStringLiteral("falling silent after block %1").arg(index));
        return {};
    }
    const bool askCurrent = options_.askRepeatEvery > 0 && transfer_.blocksReceived % options_.askRepeatEvery == 0;
    return ask(askCurrent ? boot::kAskCurrent : boot::kAskNext, atNs, msToNs(options_.blockWriteMs));
}

BootReaction Bootloader::fail(const QString &error)
{
    transfer_.stage = BootStage::Failed;
    transfer_.error = error;
    ++counters_.failedTransfers;
    image_.clear();
    journal_.add(QStringLiteral("transfer failed: ") + error);
    return {.finished = true};
}

BootReaction Bootloader::ask(char what, qint64 atNs, qint64 extraDelayNs)
{
    transfer_.stage = BootStage::AwaitFrame;
    askedCurrent_ = what == boot::kAskCurrent;
    listenFromNs_ = atNs + msToNs(options_.answerDelayMs) + extraDelayNs;
    return {.send = options_.bootloaderStray + what, .sendAtNs = listenFromNs_};
}

void Bootloader::discard(int count)
{
    counters_.strayBytes += count;
    pending_.remove(0, count);
}

} // namespace pelzosim
