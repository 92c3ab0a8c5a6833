#pragma once

#include "core/textutil.h"

#include <QString>

namespace pelzo {

// The received-bytes text: every byte as two upper-case hex digits appended to
// the trimmed old text. Trimming happens once after the text was set, so an
// append costs the same however long the text has grown.
class HexDump
{
public:
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
        m_text += QLatin1Char(digits[byte >> 4]);
        m_text += QLatin1Char(digits[byte & 0x0f]);
    }

private:
    QString m_text;
    bool m_trimmed = false;
};

} // namespace pelzo
