#pragma once

#include "core/station.h"
#include "core/textcodec.h"

#include <QByteArray>

#include <optional>

namespace pelzo {

// One report line as the parser sees it: its beginning is compared byte for
// byte, and its values are cut at character positions (counted from 1) of its
// decoded text, so a cut never splits a character, and each value keeps the
// bytes it came as.
class ReportLine
{
public:
    ReportLine(const QByteArray &bytes, Fallback fallback, TextEnd end)
        : m_bytes(bytes), m_fallback(fallback), m_end(end)
    {
    }

    bool beginsWith(const QByteArray &text) const { return m_bytes.startsWith(text); }

    // The characters from position k to the end; empty when the line is shorter.
    ArrivedText from(qsizetype k) const { return between(k, decoded().size() + 1); }
    // The characters from position k up to position end - 1.
    ArrivedText between(qsizetype k, qsizetype end) const;
    // The character at position k alone; empty when the line is shorter.
    ArrivedText at(qsizetype k) const { return between(k, k + 1); }
    // The position of the first c at or after position k; 0 when there is none.
    qsizetype find(char32_t c, qsizetype k) const;

private:
    const DecodedBytes &decoded() const;

    QByteArray m_bytes;
    Fallback m_fallback;
    TextEnd m_end;
    // Decoded on the first cut: most passes only compare beginnings.
    mutable std::optional<DecodedBytes> m_decoded;
};

} // namespace pelzo
