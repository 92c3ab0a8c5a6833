#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QString>
#include <QStringList>

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read " + path.toLocal8Bit() + '>');
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QString testData(const QString &name)
{
    return qEnvironmentVariable("PELZO_TEST_DATA") + QLatin1Char('/') + name;
}

// The lines with their line ends, so a wrong or missing CR shows.
inline QByteArrayList linesWithEnds(const QByteArray &bytes)
{
    QByteArrayList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        lines << bytes.mid(start, end - start);
        start = end;
    }
    return lines;
}

inline QString shown(const QByteArray &line)
{
    QString text = QString::fromUtf8(line);
    return QLatin1Char('"') +
           text.replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n")) +
           QLatin1Char('"');
}

// A line-by-line account of where two files differ; empty when they are equal.
inline QString fileDifferences(const QByteArray &actual, const QByteArray &expected)
{
    const QByteArrayList got = linesWithEnds(actual);
    const QByteArrayList want = linesWithEnds(expected);
    QStringList report;
    for (qsizetype i = 0; i < std::max(got.size(), want.size()); ++i) {
        const QByteArray a = got.value(i, "<no line>");
        const QByteArray e = want.value(i, "<no line>");
        if (a != e)
            report << QStringLiteral("line %1: got %2, expected %3").arg(i + 1).arg(shown(a), shown(e));
    }
    return report.join(QLatin1Char('\n'));
}
