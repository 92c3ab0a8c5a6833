#include "settingsfile/settingsfiletext.h"

namespace pelzo {

namespace {

constexpr char Utf8Mark[] = "\xEF\xBB\xBF";
constexpr char Utf16LittleEndianMark[] = "\xFF\xFE";
constexpr char Utf16BigEndianMark[] = "\xFE\xFF";

} // namespace

QByteArray FileText::lineBytes(QByteArrayView piece)
{
    if (!std::exchange(m_started, true)) {
        if (piece.startsWith(Utf8Mark))
            piece = piece.sliced(3);
        else if (piece.startsWith(Utf16LittleEndianMark))
            m_utf16.emplace(QStringConverter::Utf16LE);
        else if (piece.startsWith(Utf16BigEndianMark))
            m_utf16.emplace(QStringConverter::Utf16BE);
        if (m_utf16)
            piece = piece.sliced(2);
    }
    if (m_utf16)
        return QString(m_utf16->decode(piece)).toUtf8();
    return piece.toByteArray();
}

} // namespace pelzo
