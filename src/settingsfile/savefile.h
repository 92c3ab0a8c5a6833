#pragma once

namespace pelzo {

class Station;

// "Save file" (Command5): writes the configuration shown in the window to a
// settings file that the user names. A file that cannot be written is left as
// it was, and the ActivityLog says why.
void saveFile(Station &station);

} // namespace pelzo
