#pragma once

#include "core/virtualplatform.h"

#include <QList>

#include <map>

// A device that answers by rote: when the bytes it has received contain a
// trigger, it sends the reply after the given delay. Tests can also make it
// send or hang up at a fixed time.
class ScriptedPeer : public pelzo::VirtualPeer
{
public:
    void on(const QByteArray &trigger, const QByteArray &reply, qint64 delayMs = 0)
    {
        m_rules.append({trigger, reply, delayMs});
    }
    void sendAt(qint64 timeMs, const QByteArray &bytes) { m_due.emplace(timeMs, Output{bytes, false}); }
    void hangUpAt(qint64 timeMs) { m_due.emplace(timeMs, Output{{}, true}); }

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
    std::optional<qint64> nextDueMs() const override
    {
        if (m_due.empty())
            return std::nullopt;
        return m_due.begin()->first;
    }
    Output takeDue(qint64 nowMs) override
    {
        Output out;
        while (!m_due.empty() && m_due.begin()->first <= nowMs) {
            out.bytes += m_due.begin()->second.bytes;
            out.hangup = out.hangup || m_due.begin()->second.hangup;
            m_due.erase(m_due.begin());
        }
        return out;
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
    std::multimap<qint64, Output> m_due;
};
