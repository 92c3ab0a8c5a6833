#pragma once

#include <QString>

namespace pelzo {

class Station;

// The port steps that Read data, Write data, Apply and restart share.

// True while a firmware update holds the port; the action must then leave
// the port alone. Logs why the action does not run.
bool refuseDuringFirmwareUpdate(Station &station);

bool applyLineSettings(Station &station);

// Opens the port for an action; every action opens it here. A line still
// half-assembled (the last line of a loaded settings file, an earlier
// exchange's last words) is dropped, so the device's first answer starts a line.
bool openPort(Station &station);

// One write of the text; refused while a firmware update holds the port.
bool sendText(Station &station, const QString &text);
bool sendBytes(Station &station, const QByteArray &bytes);

// Closes the port at once (the cancel of a port-open guard), unless a
// firmware update holds it.
void closePort(Station &station);

// Closes the port once every byte written has left it, or after a bounded
// wait when the port stalls. The window keeps running meanwhile.
void closePortAfterSending(Station &station);

// A port-list text that does not begin with "COM" becomes "COM1"; the port
// that is open stays the one it was.
void normalisePortListName(Station &station);

// The message box of an exchange whose port step failed; without a detail
// of its own it tells what the port reported.
void showPortFailure(Station &station, const QString &detail = {});

// The caption a port-open guard leaves on a button.
inline const QString PortIsOpenCaption = QStringLiteral("Port is open");

} // namespace pelzo
