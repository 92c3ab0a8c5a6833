#pragma once

#include <QByteArray>

#include <functional>
#include <utility>

namespace pelzo {

// Cuts a stream of bytes into lines at CR LF, a lone CR or a lone LF; the line
// ends are not part of the lines. Bytes may arrive in pieces of any size.
class LineSplitter
{
public:
    // Receives each line; returning false stops the splitting.
    using Sink = std::function<bool(const QByteArray &line)>;

    // Hands every line that these bytes complete to the sink; false once the sink stopped.
    bool feed(QByteArrayView bytes, const Sink &sink)
    {
        for (const char byte : bytes) {
            const bool secondHalfOfCrLf = m_afterCarriageReturn && byte == LineFeed;
            m_afterCarriageReturn = byte == CarriageReturn;
            if (secondHalfOfCrLf)
                continue;
            if (byte != CarriageReturn && byte != LineFeed) {
                m_line.append(byte);
                continue;
            }
            if (!sink(std::exchange(m_line, {})))
                return false;
        }
        return true;
    }

    // Hands on a last line that no line end closed.
    bool finish(const Sink &sink) { return m_line.isEmpty() || sink(std::exchange(m_line, {})); }

private:
    static constexpr char LineFeed = 10;
    static constexpr char CarriageReturn = 13;

    QByteArray m_line;
    bool m_afterCarriageReturn = false;
};

} // namespace pelzo
