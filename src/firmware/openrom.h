#pragma once

#include <QString>

namespace pelzo {

class Station;

// "Open ROM" (Command1): choose a firmware image and prepare it for sending.
void openRom(Station &station);

// Reads the image at `path` (no update may be running); false when it could not be taken whole.
bool openRomFile(Station &station, const QString &path);

} // namespace pelzo
