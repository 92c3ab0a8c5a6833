#pragma once

#include <QString>

namespace pelzo {

// The text commands the device takes, each with its line end.
inline const QString ProbeCommand = QStringLiteral("\r\nSETUP#\r\n");
inline const QString ReadCommand = QStringLiteral("AT+READ#\r\n");
inline const QString RebootCommand = QStringLiteral("REBOOT#\r\n");
inline const QString ResetCommand = QStringLiteral("AT+RESET#\r\n");
inline const QString CommandEnd = QStringLiteral("#\r\n");
inline const QString WifiKeyword = QStringLiteral("AT+WIFI,");

} // namespace pelzo
