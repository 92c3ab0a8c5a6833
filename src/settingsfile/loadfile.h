#pragma once

#include "core/outcome.h"

#include <QString>

namespace pelzo {

class Station;
struct Link;

// "Load file": echoes every line of a settings file that the user
// picks to the ActivityLog and applies it through the report-line parser,
// then enables Write data. A file that cannot be read, or a line the parser
// rejects, ends the load there with a line in the ActivityLog saying so.
Outcome loadFile(Station &station, Link &link);

// The load itself, of the file at `path`: done when every line was applied,
// refused (with the reason the ActivityLog gives) when it stopped early.
Outcome loadSettingsFile(Station &station, Link &link, const QString &path);

} // namespace pelzo
