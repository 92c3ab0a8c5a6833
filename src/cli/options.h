#pragma once

#include <QString>
#include <QStringList>

namespace pelzo::cli {

struct Options
{
    QString command;
    QStringList operands;
    QString port = QStringLiteral("auto");
    QString output;       // -o
    QString backup;       // --backup
    QString ssid;         // --ssid
    QString passwordFile; // --password-file
    QString trace;        // --trace
    bool json = false;
    bool verify = true;
    bool device = false;  // diff --device
    bool backupFirst = true;  // flash: keep the configuration first (--no-backup)
    bool restoreAfter = true; // flash: put it back afterwards (--no-restore)
    bool recover = false;     // flash --recover
};

// The command line as given; a Failure with UsageOrDifference when it is wrong.
Options parse(const QStringList &arguments);

// The command line's usage, with each command and option.
QString usage();

// Every command and every option the command line takes, as the man page
// and the shell completion must list them.
QStringList commandNames();
QStringList optionNames();

} // namespace pelzo::cli
