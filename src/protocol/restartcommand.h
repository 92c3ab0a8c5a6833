#pragma once

#include <QString>

namespace pelzo {

// Restarts the device; it sends no answer.
inline const QString RebootCommand = QStringLiteral("REBOOT#\r\n");

} // namespace pelzo
