#pragma once

namespace pelzo::cli {

class Context;

// The commands that act on the station beyond its configuration, and the port list.
int wifiCommand(Context &c);
int restartCommand(Context &c);
int flashCommand(Context &c);
int portsCommand(Context &c);

} // namespace pelzo::cli
