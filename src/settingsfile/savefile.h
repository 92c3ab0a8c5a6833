#pragma once

#include "core/outcome.h"

#include <QByteArray>
#include <QString>

namespace pelzo {

class Station;

// "Save file": writes the configuration shown in the window to a
// settings file that the user names. A file that cannot be written is left as
// it was, and the ActivityLog says why.
Outcome saveFile(Station &station);

// The save itself, to `path`; refused, with the reason also in the ActivityLog, when it failed.
Outcome saveSettingsFile(Station &station, const QString &path);

// A file of settings-file bytes made before (a kept configuration), written
// the same way; its folder is made if it is missing.
Outcome saveSettingsBytes(Station &station, const QString &path, const QByteArray &bytes);

// The whole file, in its line order, as the fields read now; values that
// arrived and were not edited keep the bytes they came as.
QByteArray settingsFileBytes(const Station &station);

} // namespace pelzo
