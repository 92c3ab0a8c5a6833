#include "ui/outcomeboxes.h"

#include "core/platform.h"

#include <array>

namespace pelzo {

namespace {

using N = ControlName;
using R = Result;

// The one-button message boxes that end an action. An ending without a row
// shows none: the ActivityLog has said what happened.
struct OutcomeBox
{
    ControlName source;
    Result result;
    const char *text;
    bool withReason = true; // the outcome's reason is the box's detail
};

constexpr std::array boxes{
    OutcomeBox{N::Command6, R::PortFailed, "Port is open or no"},
    // A cancelled read goes on to its next request, which finds the port closed.
    OutcomeBox{N::Command6, R::Cancelled, "Port is open or no"},
    OutcomeBox{N::Command8, R::PortFailed, "Port is open or no"},
    OutcomeBox{N::Command8, R::StoppedOther, "Port is open or no"},
    OutcomeBox{N::Command9, R::PortFailed, "Port is open or no"},
    OutcomeBox{N::Command2, R::Refused, "Please choose fireware", false},
    OutcomeBox{N::Command2, R::PortFailed, "Port is use or no"},
    OutcomeBox{N::Command2, R::Cancelled, "Port is use or no"},
    OutcomeBox{N::Combo1, R::Refused, "Port is open"},
};

} // namespace

void showOutcome(Platform &platform, ControlName source, const Outcome &outcome)
{
    for (const OutcomeBox &box : boxes) {
        if (box.source == source && box.result == outcome.result) {
            platform.messageBox(QString::fromUtf8(box.text), box.withReason ? outcome.reason : QString());
            return;
        }
    }
}

} // namespace pelzo
