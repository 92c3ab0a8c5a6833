#pragma once

namespace pelzo::cli {

class Context;

// The commands that read, change and compare configurations.
int readCommand(Context &c);
int getCommand(Context &c);
int defaultsCommand(Context &c);
int writeCommand(Context &c);
int setCommand(Context &c);
int diffCommand(Context &c);

} // namespace pelzo::cli
