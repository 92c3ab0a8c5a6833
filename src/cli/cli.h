#pragma once

#include "core/platform.h"

#include <QStringList>
#include <QTextStream>

#include <functional>

namespace pelzo::cli {

// Where a command writes, and what it needs from the program around it.
struct Io
{
    Io(QTextStream &out, QTextStream &err) : out(out), err(err) {}

    QTextStream &out;   // results
    QTextStream &err;   // progress and messages
    bool terminal = false; // stderr is a terminal: one live progress line
    int verbosity = 1;     // 0 with -q, 2 with -v
    // Reads a line from the user without showing it; empty when there is no terminal.
    std::function<QString(const QString &prompt)> secret;
    // Files written with -o go here; the default writes them with QSaveFile.
    std::function<bool(const QString &path, const QByteArray &bytes)> writeFile;
};

// Runs one command on one port of the platform; the exit status.
int run(const QStringList &arguments, Platform &platform, Io &io);

} // namespace pelzo::cli
