#pragma once

// Scenarios: the window on the virtual-time platform, the emulated device
// (pelzo_sim, in-process) at the far end of its port. A file holds scenarios,
// each from "scenario TITLE" on; "#" starts a comment. Each line is a step,
// done in its place, or at a virtual time with "at MS ...". A step may carry
// "| " lines under it. Words in quotes take \r \n \t \" \\ \xHH, and \{N}c
// for N times the character c.
//
// Before the window loads (these steps come first):
//   emulator --option value ...   pelzo-sim's options; "emulator off": no device
//   device  | LABEL:value ...     the device's configuration (the rest factory)
//   ports N ...    held N    line BITS_PER_SECOND|stalled    tick-origin MS
//   keep-start     leave the port number and the port list's text to start-up
//                  (otherwise port 1, and "COM1" in the list)
//   file NAME ["bytes" | golden FILE]  | line ...   a file in the program folder (| lines end in CR LF)
//   image NAME SIZE                   a firmware image of SIZE bytes
// Then:
//   click C    set C "text" (as the program sets it; also LineBuffer, select-port)
//   type C "text"    pick COMBO "item"    answer-open "name"    answer-save "name"
//   device-sends "bytes"    hangup    close    open-list COMBO    run MS (let virtual time reach MS)
//   parse "line" (LineBuffer := line, then the parser)    receive "bytes" (the receive path)
//   cli WORDS...   pelzo-cli's command, in-process, in the program folder (no window needed)
//   interrupt      Ctrl+C for the command line: every wait ends
//   emulator-on N --option ...   before the start: a device of its own on port N
//   snapshot (remember the fields, octet-boxes enabled|disabled|mixed, flags and ActivityLog)
//   expect C "text" | enabled | disabled        (a check box reads 1 or 0,
//          a progress bar "VALUE of MIN..MAX"; also LineBuffer, Text1, the five
//          flags, BlockIndex, ConnectTries, port, port-number, cut-off, Timer1,
//          dialog-name)
//   expect log [| line ...] | "text" | ends|contains|lacks "text"
//   expect sent [| MS "bytes" ...] | none | count "bytes" N | golden FILE
//   expect boxes [| MS "text" [detail="part"] [BUTTON="caption"] ...] | none
//   expect dialogs | open|save "title" "filter" program|none "name" confirm|no-confirm
//   expect file NAME [| line ...] | "bytes" | golden FILE      expect no-file NAME
//   expect device | LABEL:value ...    expect counters NAME=N ...
//   expect flashed IMAGE|nothing       expect items COMBO "item" ...
//   expect received "bytes" | golden FILE   (every byte the port received)
//   expect exit N    expect stdout|stderr "text" | contains "text" | golden FILE
//   expect parsed ok|failed    expect only C="text" ... (nothing else changed since the snapshot)
// "rows NAME ..." with "| row title | value | ..." lines runs the scenario
// once a row, $NAME standing for the row's value.

#include <QList>
#include <QString>
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
// The language is described in tests/data/scenarios/README.md.
QList<Scenario> readScenarios(const QString &path, QString *error);

// The words of a line: apart from blanks, but a quoted part ("...") may hold blanks.
QStringList wordsOf(const QString &line);

// Quoted words may hold \r \n \t \" \\ and \xHH.
QByteArray unescape(const QString &word);
QString escaped(const QByteArray &bytes);

// What differs between two lists of lines, each line marked "-" (expected) or "+" (found).
QString lineDiff(const QStringList &expected, const QStringList &actual);

// Runs the scenario; the list of what did not come out as it says.
QStringList runScenario(const Scenario &scenario);
