#pragma once

// Scenarios as data: the window on the virtual-time platform, the emulated
// device at the far end of its port. docs/scenarios.md describes the language.

#include <QList>
#include <QStringList>

// One line of a scenario: a verb and its words, when it happens (virtual ms,
// or -1 for "in its place in the sequence"), and the "| " lines under it.
struct Step
{
    int line = 0;
    qint64 at = -1;
    QString verb;
    QStringList words;
    QStringList block;
};

struct Scenario
{
    QString file;
    QString title;
    QList<Step> steps;
};

// Every scenario of a file, a table's rows each as a scenario of its own.
QList<Scenario> readScenarios(const QString &path, QString *error);
// The words of a line: apart at blanks, but a quoted part may hold blanks.
QStringList wordsOf(const QString &line);
QByteArray unescape(const QString &word);
QString escaped(const QByteArray &bytes);
// Two lists of lines, each line that differs marked "-" (expected) or "+" (found).
QString lineDiff(const QStringList &expected, const QStringList &actual);
