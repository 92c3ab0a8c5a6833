#include "core/station.h"

namespace pelzo {

namespace {

constexpr int Timer1IntervalMs = 1000; // one bootloader connect request a second
constexpr int Timer2IntervalMs = 100;  // serves the bootloader's answers

} // namespace

Station::Station(Platform &platform) : m_platform(platform)
{
    Timer1 = platform.createTimer();
    Timer1->setInterval(Timer1IntervalMs);
    Timer2 = platform.createTimer();
    Timer2->setInterval(Timer2IntervalMs);
}

Station::~Station()
{
    Timer1->stop();
    Timer2->stop();
}

QStringList Station::octets(Field field) const
{
    QStringList values;
    for (int box = 0; box < OctetsPerAddress; ++box)
        values << octet(field, box);
    return values;
}

void Station::appendActivityLog(const QString &message)
{
    appendActivityLogText(QStringLiteral("\r\n") + message);
}

} // namespace pelzo
