#include "core/textcodec.h"

#include "core/gb18030.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace pelzo {

namespace {

// The length of the UTF-8 sequence a lead byte starts, or 0 for a byte that cannot lead one.
int utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

Fallback settingsFileFallback()
{
#if defined(Q_OS_WIN)
    return Fallback::SystemCodePage;
#else
    return Fallback::Gb18030;
#endif
}

DecodedBytes::DecodedBytes(QByteArrayView bytes, Fallback fallback, TextEnd end) : m_bytes(bytes.toByteArray())
{
    if (readUtf8(end))
        return;
    m_chars.clear();
    m_starts.clear();
    const bool read = fallback == Fallback::Gb18030
                          ? readGb18030()
                          : readWith(QStringDecoder(QStringConverter::System), QStringEncoder(QStringConverter::System));
    if (!read)
        readLatin1();
}

bool DecodedBytes::readUtf8(TextEnd end)
{
    const auto *data = reinterpret_cast<const unsigned char *>(m_bytes.constData());
    const qsizetype size = m_bytes.size();
    qsizetype at = 0;
    while (at < size) {
        const int length = utf8Length(data[at]);
        if (length == 0)
            return false;
        if (at + length > size) {
            if (end == TextEnd::Whole)
                return false;
            // A character still on its way: its bytes so far must fit one.
            for (qsizetype i = at + 1; i < size; ++i) {
                if ((data[i] & 0xC0) != 0x80)
                    return false;
            }
            m_heldBack = true;
            break;
        }
        char32_t c = length == 1 ? data[at] : data[at] & (0x7F >> length);
        for (int i = 1; i < length; ++i) {
            if ((data[at + i] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (data[at + i] & 0x3F);
        }
        const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
        if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        m_chars.push_back(c);
        m_starts.push_back(at);
        at += length;
    }
    m_starts.push_back(at);
    m_bytes.truncate(at);
    return true;
}

bool DecodedBytes::readGb18030()
{
    qsizetype at = 0;
    while (at < m_bytes.size()) {
        const auto read = gb18030::decodeFirst(QByteArrayView(m_bytes).sliced(at));
        if (!read)
            return false;
        m_chars.push_back(read->code);
        m_starts.push_back(at);
        at += read->length;
    }
    m_starts.push_back(at);
    return true;
}

bool DecodedBytes::readWith(QStringDecoder decoder, QStringEncoder encoder)
{
    if (!decoder.isValid() || !encoder.isValid())
        return false;
    const QString text = decoder.decode(m_bytes);
    if (decoder.hasError())
        return false;
    // Each character's bytes are what it encodes back to: the 8-bit encodings
    // read and write their characters the same way.
    const std::u32string chars = text.toStdU32String();
    std::vector<qsizetype> starts;
    qsizetype at = 0;
    for (const char32_t c : chars) {
        const QByteArray back = encoder.encode(QString::fromUcs4(&c, 1));
        if (encoder.hasError() || m_bytes.mid(at, back.size()) != back)
            return false;
        starts.push_back(at);
        at += back.size();
    }
    if (at != m_bytes.size())
        return false;
    starts.push_back(at);
    m_chars = chars;
    m_starts = std::move(starts);
    return true;
}

void DecodedBytes::readLatin1()
{
    m_chars.clear();
    m_starts.clear();
    for (qsizetype at = 0; at < m_bytes.size(); ++at) {
        m_chars.push_back(static_cast<unsigned char>(m_bytes.at(at)));
        m_starts.push_back(at);
    }
    m_starts.push_back(m_bytes.size());
}

QString DecodedBytes::text(qsizetype first, qsizetype end) const
{
    first = std::clamp<qsizetype>(first, 0, size());
    end = std::clamp<qsizetype>(end, first, size());
    return QString::fromUcs4(m_chars.data() + first, end - first);
}

QByteArray DecodedBytes::bytes(qsizetype first, qsizetype end) const
{
    first = std::clamp<qsizetype>(first, 0, size());
    end = std::clamp<qsizetype>(end, first, size());
    return m_bytes.mid(m_starts[std::size_t(first)], m_starts[std::size_t(end)] - m_starts[std::size_t(first)]);
}

} // namespace pelzo
