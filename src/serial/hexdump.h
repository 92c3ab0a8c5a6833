#pragma once

#include "core/textutil.h"

#include <QString>

namespace pelzo {

// The received-bytes text: every byte as two upper-case hex digits appended to
// the trimmed old text. Trimming happens once after the text was set, so an
// append costs the same however long the text has grown.
//
// Only the start is ever read (a bootloader answer stands in the first two
// digits), so the text stops growing at a cap: a device that talks for hours
// between two firmware updates would otherwise fill the memory with its dump.
class HexDump
{
public:
    static constexpr qsizetype CapChars = 8192;

    explicit HexDump(const QString &text = QStringLiteral("Text1")) { setText(text); }

    void setText(const QString &text)
    {
        m_text = text;
        m_trimmed = false;
    }
    const QString &text() const { return m_text; }
    QStringView start(int length) const { return QStringView(m_text).left(length); }

    void appendByte(unsigned char byte)
    {
        static constexpr char digits[] = "0123456789ABCDEF";
        if (!m_trimmed) {
            m_text = trimSpaces(m_text);
            m_trimmed = true;
        }
        if (m_text.size() + 2 > CapChars)
            return;
        m_text += QLatin1Char(digits[byte >> 4]);
        m_text += QLatin1Char(digits[byte & 0x0f]);
    }

private:
    QString m_text;
    bool m_trimmed = false;
};

} // namespace pelzo
