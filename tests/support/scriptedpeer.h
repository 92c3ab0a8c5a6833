#pragma once

#include "queuedpeer.h"

#include <QList>

#include <map>

// A device that answers by rote: when the bytes it has received contain a
// trigger, it sends the reply after the given delay. Tests can also make it
// send or hang up at a fixed time.
class ScriptedPeer : public QueuedPeer
{
public:
    void on(const QByteArray &trigger, const QByteArray &reply, qint64 delayMs = 0)
    {
        m_rules.append({trigger, reply, delayMs});
    }
    void sendAt(qint64 timeMs, const QByteArray &bytes) { queue(timeMs, bytes); }
    void hangUpAt(qint64 timeMs) { queue(timeMs, {}, true); }

    void hostBytes(qint64 nowMs, const QByteArray &bytes) override
    {
        received += bytes;
        m_pending += bytes;
        bool matched = true;
        while (matched) {
            matched = false;
            for (const Rule &rule : std::as_const(m_rules)) {
                const qsizetype at = m_pending.indexOf(rule.trigger);
                if (at < 0)
                    continue;
                m_pending.remove(0, at + rule.trigger.size());
                sendAt(nowMs + rule.delayMs, rule.reply);
                matched = true;
            }
        }
    }

    QByteArray received;

private:
    struct Rule
    {
        QByteArray trigger;
        QByteArray reply;
        qint64 delayMs;
    };
    QList<Rule> m_rules;
    QByteArray m_pending;
};
