#pragma once

#include "core/outcome.h"

#include <QString>

namespace pelzo {

class Station;
struct Link;

// The port steps that Read data, Write data, Apply and restart share.

// True while a firmware update holds the port; the action must then leave
// the port alone. Logs why the action does not run.
bool refuseDuringFirmwareUpdate(Station &station, const Link &link);
// The outcome of an action refused that way.
Outcome updateHoldsPortOutcome();

bool applyLineSettings(Station &station);

// Opens the port for an action; every action opens it here. A line still
// half-assembled (an earlier exchange's last words) is dropped, so the
// device's first answer starts a line.
bool openPort(Station &station, Link &link);

// One write of the text; refused while a firmware update holds the port.
// What went out is added to the outcome's commands.
bool sendText(Station &station, const Link &link, const QString &text, Outcome &outcome);
bool sendBytes(Station &station, const Link &link, const QByteArray &bytes, Outcome &outcome);

// Closes the port at once (the cancel of a port-open guard), unless a
// firmware update holds it.
void closePort(Station &station, const Link &link);

// Closes the port once every byte written has left it, or after a bounded
// wait when the port stalls. The window keeps running meanwhile.
void closePortAfterSending(Station &station, const Link &link);

// A port-list text that does not begin with "COM" becomes "COM1"; the port
// that is open stays the one it was.
void normalisePortListName(Station &station);

// An exchange whose port step failed, with what the port reported.
Outcome portFailure(Station &station, const Link &link);

} // namespace pelzo
