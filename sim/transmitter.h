#pragma once

#include "counters.h"
#include "options.h"

#include <QByteArray>
#include <QList>

#include <deque>
#include <limits>
#include <optional>

namespace pelzosim {

// The device's sending side. Like a UART it sends one thing after the other, so
// an answer that is due while an earlier one is still going out waits for it.
// It also applies the output misbehaviours: silence, pieces with pauses, noise
// after lines, the unterminated line, and dropping the link after N bytes.
class Transmitter {
public:
    Transmitter(const Options &options, Counters &counters);

    void sendLines(qint64 atNs, const QList<QByteArray> &lines, bool report);
    void send(qint64 atNs, const QByteArray &bytes);
    void hangup(qint64 atNs);

    std::optional<qint64> hangupAtNs() const { return hangupAtNs_; }
    std::optional<qint64> nextDueNs() const;

    // Bytes due up to and including the instant, and whether the link dropped by then.
    QByteArray takeDue(qint64 nowNs, bool *hangup);

private:
    struct Item {
        qint64 dueNs;
        QByteArray bytes;
        bool hangup = false;
    };

    const Options &options_;
    Counters &counters_;
    std::deque<Item> queue_;
    qint64 busyUntilNs_ = std::numeric_limits<qint64>::min();
    std::optional<qint64> hangupAtNs_;
};

} // namespace pelzosim
