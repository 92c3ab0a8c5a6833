#pragma once

#include <QString>

namespace pelzo {

class Station;

// "Load file" (Command4): echoes every line of a settings file that the user
// picks to the ActivityLog and applies it through the report-line parser,
// then enables Write data. A file that cannot be read, or a line the parser
// rejects, ends the load there with a line in the ActivityLog saying so.
void loadFile(Station &station);

// The load itself, of the file at `path`; true when every line was applied.
bool loadSettingsFile(Station &station, const QString &path);

} // namespace pelzo
