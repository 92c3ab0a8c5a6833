#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <string>
#include <vector>

namespace pelzo {

// Which 8-bit encoding reads bytes that are not UTF-8. Devices set up from a
// Chinese Windows system hold GBK, which GB18030 covers; settings files on
// Windows are in the system's code page.
enum class Fallback { Gb18030, SystemCodePage };

// The fallback of settings files on this system.
Fallback settingsFileFallback();

// Whether bytes are all there will be (a whole line) or their rest may still arrive.
enum class TextEnd { Whole, MoreToCome };

// Bytes that arrived (from the device or a file), read as UTF-8 when they are
// UTF-8 (where more is to come, a character cut off at the end is left out
// until its rest arrives; at the end of a line it means they are not UTF-8),
// otherwise in the fallback encoding, and as Latin-1 when that fails too:
// never a replacement character where a reading exists. Each character keeps
// the bytes it came from, so a value cut from the text can go back as exactly
// those bytes.
class DecodedBytes
{
public:
    DecodedBytes(QByteArrayView bytes, Fallback fallback, TextEnd end = TextEnd::Whole);

    qsizetype size() const { return qsizetype(m_chars.size()); }
    const std::u32string &characters() const { return m_chars; }
    // The characters first .. end - 1 (counted from 0), and their bytes.
    QString text(qsizetype first, qsizetype end) const;
    QByteArray bytes(qsizetype first, qsizetype end) const;
    QString text() const { return text(0, size()); }
    // True when the end was left out as the start of a character still on its way.
    bool heldBack() const { return m_heldBack; }

private:
    bool readUtf8(TextEnd end);
    bool readGb18030();
    bool readWith(QStringDecoder decoder, QStringEncoder encoder);
    void readLatin1();

    QByteArray m_bytes;
    std::u32string m_chars;
    std::vector<qsizetype> m_starts; // where each character's bytes begin; one more for the end
    bool m_heldBack = false;
};

inline QString decodeArrived(QByteArrayView bytes, Fallback fallback)
{
    return DecodedBytes(bytes, fallback).text();
}

// Text the user typed goes to the device as UTF-8.
inline QByteArray toWire(const QString &text)
{
    return text.toUtf8();
}

} // namespace pelzo
