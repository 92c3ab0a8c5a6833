#include "firmware/sessionevents.h"

#include "core/station.h"
#include "firmware/blocktransfer.h"
#include "firmware/session.h"
#include "firmware/updatestart.h"
#include "protocol/serialreceive.h"
#include "serial/portfailure.h"

namespace pelzo {

void bindSessionEvents(Station &station, Session &session, ServeRequests serve)
{
    SerialPort &port = station.port();
    port.onReceive = [&station, &session, serve] {
        onSerialReceive(station, session);
        if (serve == ServeRequests::OnArrivalToo && session.updateInProgress())
            transferTick(station, session);
    };
    port.onLinkLost = [&station] { reportLinkLost(station); };
    session.Timer1->onTick = [&station, &session] { connectTick(station, session); };
    session.Timer2->onTick = [&station, &session] { transferTick(station, session); };
}

} // namespace pelzo
