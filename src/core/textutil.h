#pragma once

#include <QString>

namespace pelzo {

// Removes leading and trailing space characters only; tabs and other white space stay.
inline QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

// The system's reason for a failure, to go inside a sentence of ours: Windows
// ends its reasons with a full stop of its language, and some with a line end.
inline QString systemReason(const QString &reason)
{
    QString text = reason.trimmed();
    while (text.endsWith(QLatin1Char('.')) || text.endsWith(QChar(0x3002)))
        text.chop(1);
    return text;
}

} // namespace pelzo
