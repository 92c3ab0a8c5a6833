#pragma once

#include <QString>

namespace pelzo {

class Form1;

// Captions of the update button: idle, and while a start may still be cancelled.
constexpr QLatin1String UpdateCaption("update");
constexpr QLatin1String UpdateRunningCaption("update...");

// Marks the window as updating from now on and returns the number of this
// start; a start suspended in a wait checks it with isCurrentStart().
quint32 beginUpdate(Form1 &form);
bool isCurrentStart(const Form1 &form, quint32 startNumber);

// Back to idle after any ending: Timer1 off, the button reads "update", the
// bootloader is no longer listened to, and a suspended start is stale.
// ConnectTries and BlockIndex are left to the caller.
void endUpdate(Form1 &form);

// Open ROM, update, the hidden Command3 and the port list are locked while blocks go out.
void setUpdateControlsEnabled(Form1 &form, bool enabled);

// The update status label as the window first shows it.
void restoreUpdateStatusCaption(Form1 &form);

} // namespace pelzo
