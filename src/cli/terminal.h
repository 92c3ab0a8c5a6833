#pragma once

#include <QString>

#include <functional>

namespace pelzo::cli {

// Whether standard error is a terminal, where a progress line may overwrite itself.
bool errorIsTerminal();

// Asks for a line on the terminal without showing what is typed; empty without a terminal.
QString readSecret(const QString &prompt);

// Calls `interrupted` on the program's own thread when the user presses Ctrl+C.
void onInterrupt(std::function<void()> interrupted);

} // namespace pelzo::cli
