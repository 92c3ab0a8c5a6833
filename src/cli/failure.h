#pragma once

#include "cli/exitcodes.h"
#include "core/outcome.h"

#include <QString>

namespace pelzo::cli {

// Ends a command with its exit status and what to tell the user.
struct Failure
{
    int code;
    QString message;
    bool withUsage = false; // the usage follows the message
};

// The exit status an exchange's ending stands for.
inline int exitCodeOf(const Outcome &outcome)
{
    switch (outcome.result) {
    case Result::Done: return Success;
    case Result::NoAnswer:
    case Result::Unconfirmed: return NoAnswer;
    case Result::PortFailed:
    case Result::StoppedOther: return PortProblem;
    case Result::Refused: return FileRefused;
    case Result::Cancelled:
    case Result::Declined: return Interrupted;
    }
    return NoAnswer;
}

} // namespace pelzo::cli
