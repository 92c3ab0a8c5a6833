#include "serial/inifile.h"

#include <QList>

namespace pelzo {

namespace {

#if defined(Q_OS_WIN)
constexpr char NewFileLineEnd[] = "\r\n";
#else
constexpr char NewFileLineEnd[] = "\n";
#endif

struct Line
{
    QByteArray text; // without its line end
    QByteArray end;  // "\r\n", "\n", or empty for a last line without one
};

QList<Line> splitLines(const QByteArray &file)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < file.size()) {
        const qsizetype lf = file.indexOf('\n', start);
        if (lf < 0) {
            lines.append({file.mid(start), {}});
            break;
        }
        const bool crlf = lf > start && file.at(lf - 1) == '\r';
        lines.append({file.mid(start, lf - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
        start = lf + 1;
    }
    return lines;
}

QByteArray joinLines(const QList<Line> &lines)
{
    QByteArray file;
    for (const Line &line : lines)
        file += line.text + line.end;
    return file;
}

QByteArray lineEndOf(const QList<Line> &lines)
{
    for (const Line &line : lines) {
        if (!line.end.isEmpty())
            return line.end;
    }
    return NewFileLineEnd;
}

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QByteArray> sectionName(const QByteArray &text)
{
    const QByteArray trimmed = text.trimmed();
    const qsizetype close = trimmed.indexOf(']');
    if (!trimmed.startsWith('[') || close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

struct KeyLine
{
    QByteArray key;
    QByteArray value;
};

std::optional<KeyLine> keyLine(const QByteArray &text)
{
    const qsizetype equals = text.indexOf('=');
    if (equals < 0 || text.trimmed().startsWith(';'))
        return std::nullopt;
    QByteArray value = text.mid(equals + 1).trimmed();
    // A value in matching quotes is read without them, as the Windows service does.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return KeyLine{text.left(equals).trimmed(), value};
}

// Where a section's lines are: its header and the line after its last line.
struct SectionSpan
{
    qsizetype header;
    qsizetype end;
};

std::optional<SectionSpan> findSection(const QList<Line> &lines, const QByteArray &section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !sectionName(lines[end].text))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<qsizetype> findKey(const QList<Line> &lines, const SectionSpan &span, const QByteArray &key)
{
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const auto entry = keyLine(lines[i].text);
        if (entry && sameName(entry->key, key))
            return i;
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> iniValue(const QByteArray &file, const QByteArray &section, const QByteArray &key)
{
    const QList<Line> lines = splitLines(file);
    const auto span = findSection(lines, section);
    if (!span)
        return std::nullopt;
    const auto at = findKey(lines, *span, key);
    if (!at)
        return std::nullopt;
    return keyLine(lines[*at].text)->value;
}

QByteArray withIniValue(const QByteArray &file, const QByteArray &section, const QByteArray &key,
                        const QByteArray &value)
{
    QList<Line> lines = splitLines(file);
    const QByteArray lineEnd = lineEndOf(lines);
    const QByteArray entry = key + '=' + value;

    const auto span = findSection(lines, section);
    if (span) {
        if (const auto at = findKey(lines, *span, key)) {
            lines[*at].text = entry;
            return joinLines(lines);
        }
        // After the section's last non-blank line, so that the blank line before the next section stays.
        qsizetype last = span->end - 1;
        while (last > span->header && lines[last].text.trimmed().isEmpty())
            --last;
        if (lines[last].end.isEmpty())
            lines[last].end = lineEnd;
        lines.insert(last + 1, {entry, lineEnd});
        return joinLines(lines);
    }

    if (!lines.isEmpty()) {
        if (lines.back().end.isEmpty())
            lines.back().end = lineEnd;
        if (!lines.back().text.trimmed().isEmpty())
            lines.append({{}, lineEnd});
    }
    lines.append({'[' + section + ']', lineEnd});
    lines.append({entry, lineEnd});
    return joinLines(lines);
}

} // namespace pelzo
