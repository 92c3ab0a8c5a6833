#pragma once

#include "core/outcome.h"

#include <QString>

namespace pelzo {

class Session;
class Station;

// "Open ROM": choose a firmware image and prepare it for sending.
Outcome openRom(Station &station, Session &session);

// Reads the image at `path` (no update may be running); refused, with the
// reason, when it could not be taken whole.
Outcome openRomFile(Station &station, Session &session, const QString &path);

// What identifies an image: its size and its SHA-256.
QString imageSummary(const QByteArray &image);

} // namespace pelzo
