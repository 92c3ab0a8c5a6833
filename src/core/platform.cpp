#include "core/platform.h"

namespace pelzo {

void waitMs(Platform &platform, qint32 d)
{
    const quint32 duration = d > 0 ? quint32(d) : 0;
    const quint32 start = platform.tickCount();
    while (!platform.isClosing()) {
        const quint32 elapsed = platform.tickCount() - start;
        if (elapsed > duration)
            return;
        platform.processEventsUntil(start + duration + 1);
    }
}

} // namespace pelzo
