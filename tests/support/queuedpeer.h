#pragma once

#include "core/virtualplatform.h"

#include <map>

// A far end whose output is a queue of timed sends; derived peers decide what
// to queue from the bytes they receive.
class QueuedPeer : public pelzo::VirtualPeer
{
public:
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

protected:
    void queue(qint64 atMs, const QByteArray &bytes, bool hangup = false)
    {
        m_due.emplace(atMs, Output{bytes, hangup});
    }

private:
    std::multimap<qint64, Output> m_due;
};
