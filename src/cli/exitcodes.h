#pragma once

namespace pelzo::cli {

// What pelzo-cli's exit status says; the worst of several ports wins.
enum ExitCode {
    Success = 0,
    UsageOrDifference = 1, // a wrong command line, or diff found a difference
    PortProblem = 2,       // the port is missing, busy (the holder is named) or not ours to use
    NoAnswer = 3,          // the device did not answer or did not confirm
    Mismatch = 4,          // the device holds other values than were written
    FileRefused = 5,       // a settings file or an image that cannot be used
    Interrupted = 130,     // Ctrl+C
};

} // namespace pelzo::cli
