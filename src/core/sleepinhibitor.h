#pragma once

#include <memory>

namespace pelzo {

// Asks the system not to sleep while it is held, where the system offers a
// way: Windows' execution state, a macOS power assertion, a logind inhibitor
// lock on Linux when the system bus is there. Without one it does nothing.
class SleepInhibitor
{
public:
    SleepInhibitor();
    ~SleepInhibitor();
    SleepInhibitor(const SleepInhibitor &) = delete;
    SleepInhibitor &operator=(const SleepInhibitor &) = delete;

    void hold();
    void release();
    bool held() const { return m_held; }

private:
    struct Lock;
    std::unique_ptr<Lock> m_lock;
    bool m_held = false;
};

} // namespace pelzo
