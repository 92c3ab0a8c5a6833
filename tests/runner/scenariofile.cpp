#include "scenario.h"

#include <QFile>
#include <QMap>

#include <algorithm>
#include <vector>

namespace {

struct Row
{
    QString title;
    QMap<QString, QString> values;
};

// Longer names first, so that $ab is not taken for $a followed by b.
QString substituted(QString line, const Row &row)
{
    QStringList names = row.values.keys();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    for (const QString &name : names)
        line.replace(QLatin1Char('$') + name, row.values[name]);
    return line;
}

} // namespace

QStringList wordsOf(const QString &line)
{
    QStringList words;
    QString word;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == QLatin1Char('\\') && i + 1 < line.size()) {
            word += c;
            word += line[++i];
            continue;
        }
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char(' ') && !quoted) {
            if (!word.isEmpty())
                words << std::exchange(word, {});
            continue;
        }
        word += c;
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// The byte of the one character or escape at `at`, moving `at` past it.
char unit(const QByteArray &text, qsizetype &at)
{
    if (text[at] != '\\' || at + 1 == text.size())
        return text[at++];
    const char next = text[at + 1];
    at += 2;
    if (next == 'x' && at + 1 < text.size()) {
        at += 2;
        return char(text.mid(at - 2, 2).toInt(nullptr, 16));
    }
    return next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
}

QByteArray unescape(const QString &word)
{
    const QByteArray text = word.toUtf8();
    const qsizetype open = text.indexOf('"');
    const qsizetype close = text.lastIndexOf('"');
    const QByteArray inner = open >= 0 && close > open ? text.mid(open + 1, close - open - 1) : text;
    QByteArray bytes;
    for (qsizetype at = 0; at < inner.size();) {
        const qsizetype end = inner.indexOf('}', at);
        if (inner.mid(at, 2) == "\\{" && end > at && end + 1 < inner.size()) {
            const int count = inner.mid(at + 2, end - at - 2).toInt();
            qsizetype next = end + 1;
            bytes += QByteArray(count, unit(inner, next));
            at = next;
            continue;
        }
        bytes += unit(inner, at);
    }
    return bytes;
}

QString escaped(const QByteArray &bytes)
{
    QString text = QStringLiteral("\"");
    for (const char c : bytes) {
        const auto u = uchar(c);
        if (c == '\r')
            text += QLatin1String("\\r");
        else if (c == '\n')
            text += QLatin1String("\\n");
        else if (c == '\t')
            text += QLatin1String("\\t");
        else if (c == '"' || c == '\\')
            text += QStringLiteral("\\") + QLatin1Char(c);
        else if (u < 0x20 || u >= 0x7f)
            text += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            text += QLatin1Char(c);
    }
    return text + QLatin1Char('"');
}

QString lineDiff(const QStringList &expected, const QStringList &actual)
{
    // The longest common subsequence decides which lines match.
    const qsizetype n = expected.size();
    const qsizetype m = actual.size();
    std::vector<std::vector<int>> common(std::size_t(n + 1), std::vector<int>(std::size_t(m + 1)));
    for (qsizetype i = n - 1; i >= 0; --i) {
        for (qsizetype j = m - 1; j >= 0; --j)
            common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                                    : std::max(common[i + 1][j], common[i][j + 1]);
    }
    QStringList out;
    qsizetype i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && expected[i] == actual[j]) {
            out << QStringLiteral("    ") + expected[i++];
            ++j;
        } else if (j < m && (i == n || common[i][j + 1] >= common[i + 1][j])) {
            out << QStringLiteral("  + ") + actual[j++];
        } else {
            out << QStringLiteral("  - ") + expected[i++];
        }
    }
    return out.join(QLatin1Char('\n'));
}

QList<Scenario> readScenarios(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return {};
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));

    // Cut the file into scenarios, each with its table of rows.
    struct Raw
    {
        QString title;
        QStringList columns;
        QList<Row> rows;
        QList<std::pair<int, QString>> lines;
    };
    QList<Raw> raws;
    for (int number = 1; number <= lines.size(); ++number) {
        QString line = lines[number - 1];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (trimmed.startsWith(QLatin1String("scenario "))) {
            raws.append({trimmed.mid(9), {}, {}, {}});
            continue;
        }
        if (raws.isEmpty()) {
            *error = QStringLiteral("%1:%2: a step before the first scenario").arg(path).arg(number);
            return {};
        }
        Raw &raw = raws.last();
        if (trimmed.startsWith(QLatin1String("rows "))) {
            raw.columns = trimmed.mid(5).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            continue;
        }
        if (!raw.columns.isEmpty() && raw.lines.isEmpty() && trimmed.startsWith(QLatin1Char('|'))) {
            QStringList cells = trimmed.split(QLatin1Char('|'));
            cells.removeFirst();
            if (!cells.isEmpty() && cells.last().trimmed().isEmpty())
                cells.removeLast();
            Row row{cells.value(0).trimmed(), {}};
            for (qsizetype c = 0; c < raw.columns.size(); ++c)
                row.values[raw.columns[c]] = cells.value(c + 1).trimmed();
            raw.rows.append(row);
            continue;
        }
        raw.lines.append({number, trimmed});
    }

    QList<Scenario> scenarios;
    for (const Raw &raw : std::as_const(raws)) {
        const QList<Row> rows = raw.rows.isEmpty() ? QList<Row>{Row{}} : raw.rows;
        for (const Row &row : rows) {
            Scenario scenario{path, row.title.isEmpty() ? raw.title : raw.title + QStringLiteral(": ") + row.title, {}};
            for (const auto &[number, text] : raw.lines) {
                const QString line = substituted(text, row);
                if (line.startsWith(QLatin1Char('|'))) {
                    if (scenario.steps.isEmpty()) {
                        *error = QStringLiteral("%1:%2: a block line without a step").arg(path).arg(number);
                        return {};
                    }
                    scenario.steps.last().block << line.mid(line.startsWith(QLatin1String("| ")) ? 2 : 1);
                    continue;
                }
                QStringList words = wordsOf(line);
                Step step;
                step.line = number;
                if (words.size() >= 3 && words[0] == QLatin1String("at")) {
                    step.at = words[1].toLongLong();
                    words = words.mid(2);
                }
                step.verb = words.takeFirst();
                step.words = words;
                scenario.steps.append(step);
            }
            scenarios.append(scenario);
        }
    }
    return scenarios;
}
