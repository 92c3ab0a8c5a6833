#include "transmitter.h"

#include "timebase.h"

namespace pelzosim {

namespace {

const QByteArray kLineEnd = "\r\n";
constexpr char kUnterminatedFiller = 'X';

} // namespace

Transmitter::Transmitter(const Options &options, Counters &counters)
    : options_(options), counters_(counters)
{
}

void Transmitter::sendLines(qint64 atNs, const QList<QByteArray> &lines, bool report)
{
    QByteArray bytes;
    if (report && options_.unterminatedLineBytes > 0)
        bytes.fill(kUnterminatedFiller, options_.unterminatedLineBytes);
    for (const QByteArray &line : lines)
        bytes += line + kLineEnd + options_.noiseAfterLine;
    if (report && options_.reportBytes)
        bytes.truncate(*options_.reportBytes);
    send(atNs, bytes);
}

void Transmitter::send(qint64 atNs, const QByteArray &bytes)
{
    if (options_.silent || (options_.silentFromMs && atNs >= msToNs(*options_.silentFromMs)) || hangupAtNs_ ||
        bytes.isEmpty())
        return;
    QByteArray remaining = bytes;
    bool cut = false;
    if (options_.hangupAfterBytes) {
        const qint64 allowed = *options_.hangupAfterBytes - counters_.bytesSent;
        cut = remaining.size() >= allowed;
        if (cut)
            remaining.truncate(qMax<qint64>(allowed, 0));
    }
    qint64 dueNs = qMax(atNs, busyUntilNs_);
    const int pieceBytes = options_.pieceBytes > 0 ? options_.pieceBytes : int(remaining.size());
    for (qsizetype offset = 0; offset < remaining.size(); offset += pieceBytes) {
        if (offset > 0)
            dueNs += msToNs(options_.piecePauseMs);
        queue_.push_back({dueNs, remaining.mid(offset, pieceBytes)});
    }
    counters_.bytesSent += remaining.size();
    busyUntilNs_ = dueNs;
    if (cut)
        hangup(dueNs);
}

void Transmitter::hangup(qint64 atNs)
{
    if (hangupAtNs_)
        return;
    while (!queue_.empty() && queue_.back().dueNs > atNs) {
        counters_.bytesSent -= queue_.back().bytes.size();
        queue_.pop_back();
    }
    queue_.push_back({atNs, {}, true});
    hangupAtNs_ = atNs;
}

std::optional<qint64> Transmitter::nextDueNs() const
{
    if (queue_.empty())
        return std::nullopt;
    return queue_.front().dueNs;
}

QByteArray Transmitter::takeDue(qint64 nowNs, bool *hangup)
{
    QByteArray bytes;
    *hangup = false;
    while (!queue_.empty() && queue_.front().dueNs <= nowNs) {
        bytes += queue_.front().bytes;
        *hangup = *hangup || queue_.front().hangup;
        queue_.pop_front();
    }
    return bytes;
}

} // namespace pelzosim
