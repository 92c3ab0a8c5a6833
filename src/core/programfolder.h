#pragma once

#include <QString>

namespace pelzo {

// Where the program keeps its port-settings file and its "ports" folder:
// beside the program when that folder can be written (a portable copy),
// otherwise in the user's own configuration folder (an installed copy).
QString chooseProgramFolder(const QString &programDir, const QString &userConfigDir);

// The user's configuration folder for this program.
QString userConfigFolder();

} // namespace pelzo
