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
    Station *s = &station;
    Session *link = &session;
    SerialPort &port = station.port();
    port.onReceive = [s, link, serve] {
        onSerialReceive(*s, *link);
        if (serve == ServeRequests::OnArrivalToo && link->updateInProgress())
            transferTick(*s, *link);
    };
    port.onLinkLost = [s] { reportLinkLost(*s); };
    session.Timer1->onTick = [s, link] { connectTick(*s, *link); };
    session.Timer2->onTick = [s, link] { transferTick(*s, *link); };
}

} // namespace pelzo
