#include "protocol/reportline.h"

namespace pelzo {

const DecodedBytes &ReportLine::decoded() const
{
    if (!m_decoded)
        m_decoded.emplace(m_bytes, m_fallback, m_end);
    return *m_decoded;
}

ArrivedText ReportLine::between(qsizetype k, qsizetype end) const
{
    const DecodedBytes &line = decoded();
    return {line.text(k - 1, end - 1), line.bytes(k - 1, end - 1)};
}

qsizetype ReportLine::find(char32_t c, qsizetype k) const
{
    const std::u32string &chars = decoded().characters();
    if (k < 1 || k > qsizetype(chars.size()))
        return 0;
    const std::size_t index = chars.find(c, std::size_t(k - 1));
    return index == std::u32string::npos ? 0 : qsizetype(index) + 1;
}

} // namespace pelzo
