#include "firmware/session.h"

namespace pelzo {

Session::Session(Platform &platform) : m_platform(platform)
{
    Timer1 = platform.createTimer();
    Timer1->setInterval(ConnectIntervalMs);
    Timer2 = platform.createTimer();
    Timer2->setInterval(TransferIntervalMs);
}

Session::~Session()
{
    Timer1->stop();
    Timer2->stop();
    SerialPort &port = m_platform.serialPort();
    port.onReceive = nullptr;
    port.onLinkLost = nullptr;
}

} // namespace pelzo
