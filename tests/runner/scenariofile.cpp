#include "scenario.h"

#include <QFile>
#include <QMap>

#include <algorithm>
#include <vector>

QStringList wordsOf(const QString &line)
{
    QStringList words{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (quoted && line[i] == '\\' && i + 1 < line.size())
            words.last() += line[i++];
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ' ' && !quoted) {
            if (!words.last().isEmpty())
                words << QString();
            continue;
        }
        words.last() += line[i];
    }
    words.removeAll(QString());
    return words;
}

// The byte of the one character or escape at `at`, moving `at` past it.
static char unit(const QByteArray &text, qsizetype &at)
{
    if (text[at] != '\\' || at + 1 == text.size())
        return text[at++];
    const char next = text[at + 1];
    at += 2;
    if (next == 'x' && at + 1 < text.size())
        return char(text.mid((at += 2) - 2, 2).toInt(nullptr, 16));
    return next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
}

QByteArray unescape(const QString &word)
{
    const QByteArray text = word.toUtf8();
    const qsizetype open = text.indexOf('"'), close = text.lastIndexOf('"');
    const QByteArray inner = open >= 0 && close > open ? text.mid(open + 1, close - open - 1) : text;
    QByteArray bytes;
    for (qsizetype at = 0; at < inner.size();) {
        const qsizetype end = inner.indexOf('}', at);
        if (inner.mid(at, 2) == "\\{" && end > at && end + 1 < inner.size()) {
            qsizetype next = end + 1;
            bytes += QByteArray(inner.mid(at + 2, end - at - 2).toInt(), unit(inner, next));
            at = next;
        } else {
            bytes += unit(inner, at);
        }
    }
    return bytes;
}

QString escaped(const QByteArray &bytes)
{
    QString text = "\"";
    for (const char c : bytes) {
        const auto u = uchar(c);
        if (c == '\r' || c == '\n' || c == '\t')
            text += c == '\r' ? "\\r" : c == '\n' ? "\\n" : "\\t";
        else if (c == '"' || c == '\\')
            text += QString("\\") + QChar(u);
        else if (u < 0x20 || u >= 0x7f)
            text += QString("\\x%1").arg(u, 2, 16, QChar('0'));
        else
            text += QChar(u);
    }
    return text + '"';
}

QString lineDiff(const QStringList &expected, const QStringList &actual)
{
    // The longest common subsequence decides which lines match.
    const qsizetype n = expected.size(), m = actual.size();
    std::vector<std::vector<int>> common(std::size_t(n + 1), std::vector<int>(std::size_t(m + 1)));
    for (qsizetype i = n - 1; i >= 0; --i) {
        for (qsizetype j = m - 1; j >= 0; --j)
            common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                                    : std::max(common[i + 1][j], common[i][j + 1]);
    }
    QStringList out;
    for (qsizetype i = 0, j = 0; i < n || j < m;) {
        if (i < n && j < m && expected[i] == actual[j]) {
            out << "    " + expected[i++];
            ++j;
        } else if (j < m && (i == n || common[i][j + 1] >= common[i + 1][j])) {
            out << "  + " + actual[j++];
        } else {
            out << "  - " + expected[i++];
        }
    }
    return out.join('\n');
}

#if defined(Q_OS_WIN)
constexpr bool OnWindows = true;
#else
constexpr bool OnWindows = false;
#endif

QList<Scenario> readScenarios(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "cannot read " + path;
        return {};
    }
    // Each scenario's title, columns, rows (title and values) and numbered lines.
    struct Raw
    {
        QString title;
        QStringList columns;
        QList<QStringList> rows;
        QList<std::pair<int, QString>> lines;
    };
    QList<Raw> raws;
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (int number = 1; number <= lines.size(); ++number) {
        const QString line = lines[number - 1].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith("scenario ")) {
            raws.append({line.mid(9), {}, {}, {}});
        } else if (raws.isEmpty()) {
            *error = QString("%1:%2: a step before the first scenario").arg(path).arg(number);
            return {};
        } else if (line.startsWith("rows ")) {
            raws.last().columns = line.mid(5).split(' ', Qt::SkipEmptyParts);
        } else if (!raws.last().columns.isEmpty() && raws.last().lines.isEmpty() && line.startsWith('|')) {
            QStringList cells = line.mid(1).split('|');
            for (QString &cell : cells)
                cell = cell.trimmed();
            raws.last().rows.append(cells);
        } else {
            raws.last().lines.append({number, line});
        }
    }

    QList<Scenario> scenarios;
    for (const Raw &raw : std::as_const(raws)) {
        for (const QStringList &row : raw.rows.isEmpty() ? QList<QStringList>{{}} : raw.rows) {
            // Longer names first, so that $ab is not taken for $a followed by b.
            QStringList names = raw.columns;
            std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
            Scenario scenario{path, row.isEmpty() ? raw.title : raw.title + ": " + row[0], {}};
            bool skipping = false;
            for (auto [number, line] : raw.lines) {
                for (const QString &name : names)
                    line.replace('$' + name, row.value(raw.columns.indexOf(name) + 1));
                if (line.startsWith('|')) {
                    if (skipping)
                        continue;
                    if (scenario.steps.isEmpty()) {
                        *error = QString("%1:%2: a block line without a step").arg(path).arg(number);
                        return {};
                    }
                    scenario.steps.last().block << line.mid(line.startsWith("| ") ? 2 : 1);
                    continue;
                }
                Step step{number, -1, {}, wordsOf(line), {}};
                // A step that holds on one kind of system only names it first.
                skipping = false;
                if (step.words.size() > 1 && (step.words[0] == "posix" || step.words[0] == "windows")) {
                    skipping = (step.words.takeFirst() == "windows") != OnWindows;
                    if (skipping)
                        continue;
                }
                if (step.words.size() >= 3 && step.words[0] == "at") {
                    step.at = step.words[1].toLongLong();
                    step.words = step.words.mid(2);
                }
                step.verb = step.words.takeFirst();
                scenario.steps.append(step);
            }
            scenarios.append(scenario);
        }
    }
    return scenarios;
}
