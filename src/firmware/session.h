#pragma once

#include "core/platform.h"
#include "firmware/firmwarestate.h"
#include "protocol/link.h"

#include <functional>
#include <memory>

namespace pelzo {

// Everything the exchanges with one station share besides the window: the
// link (receive path, replies, the port's reservation) and the firmware
// update with its two timers. The window has one, and so has a command line.
class Session : public Link
{
public:
    explicit Session(Platform &platform);
    // The port's events stop reaching a session that is gone.
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool updateInProgress() const { return updateHoldsPort; }
    Platform &platform() const { return m_platform; }

    FirmwareState firmware;
    std::unique_ptr<Timer> Timer1; // bootloader connect requests
    std::unique_ptr<Timer> Timer2; // serves the bootloader's answers
    // Told when an update has completed and said so.
    std::function<void()> onUpdateComplete;

private:
    Platform &m_platform;
};

} // namespace pelzo
