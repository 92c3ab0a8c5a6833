#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

namespace pelzo {

// One report line as the parser sees it: its beginning is compared byte for
// byte, and its values are cut at character positions (counted from 1) of its
// UTF-8 text, so a cut never splits a multi-byte character.
class ReportLine
{
public:
    explicit ReportLine(const QByteArray &bytes) : m_bytes(bytes) {}

    bool beginsWith(const QByteArray &text) const { return m_bytes.startsWith(text); }

    // The characters from position k to the end; empty when the line is shorter.
    QString from(qsizetype k) const;
    // The characters from position k up to position end - 1.
    QString between(qsizetype k, qsizetype end) const;
    // The character at position k alone; empty when the line is shorter.
    QString at(qsizetype k) const { return between(k, k + 1); }
    // The position of the first c at or after position k; 0 when there is none.
    qsizetype find(char32_t c, qsizetype k) const;

private:
    const std::u32string &characters() const;

    QByteArray m_bytes;
    // Decoded on the first cut: most passes only compare beginnings.
    mutable std::optional<std::u32string> m_characters;
};

} // namespace pelzo
