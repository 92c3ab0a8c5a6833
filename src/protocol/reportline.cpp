#include "protocol/reportline.h"

#include "core/wirecodec.h"

#include <algorithm>

namespace pelzo {

const std::u32string &ReportLine::characters() const
{
    if (!m_characters)
        m_characters = fromWire(m_bytes).toStdU32String();
    return *m_characters;
}

QString ReportLine::from(qsizetype k) const
{
    return between(k, qsizetype(characters().size()) + 1);
}

QString ReportLine::between(qsizetype k, qsizetype end) const
{
    const std::u32string &chars = characters();
    const qsizetype size = qsizetype(chars.size());
    const qsizetype first = std::clamp<qsizetype>(k - 1, 0, size);
    const qsizetype last = std::clamp<qsizetype>(end - 1, first, size);
    return QString::fromUcs4(chars.data() + first, last - first);
}

qsizetype ReportLine::find(char32_t c, qsizetype k) const
{
    const std::u32string &chars = characters();
    if (k < 1 || k > qsizetype(chars.size()))
        return 0;
    const std::size_t index = chars.find(c, std::size_t(k - 1));
    return index == std::u32string::npos ? 0 : qsizetype(index) + 1;
}

} // namespace pelzo
