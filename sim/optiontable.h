#pragma once

#include "options.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace pelzosim {

// One behaviour switch of the emulated device, as pelzo-sim's command line
// and the tests' scenarios name it: "--answer-delay 400", "--silent".
struct SimOption {
    const char *name;
    const char *valueName; // nullptr for a switch
    const char *description;
    bool (*apply)(const QString &value, Options &options);
};

const QList<SimOption> &optionTable();

// Applies "--name value" and "--name" words to the options; false, with the
// reason, at the first word it cannot use.
bool applyOptions(const QStringList &words, Options &options, QString *error);

} // namespace pelzosim
