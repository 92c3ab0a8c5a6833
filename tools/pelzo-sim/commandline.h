#pragma once

#include "options.h"

#include <QString>

class QCoreApplication;

struct SimSettings {
    pelzosim::Options device;
    QString linkPath;
    QString statePath;
    QString flashOutPath;
    QString tracePath;
};

// Handles --help and --version itself (it prints and exits). Returns false with
// a message for a value it cannot use.
bool parseCommandLine(const QCoreApplication &app, SimSettings *settings, QString *error);
