#pragma once

#include "core/deviceconfig.h"
#include "serial/receivepath.h"

#include <QList>

namespace pelzo {

// The replies the exchanges wait for. Only the parser sets them, to 1; each
// exchange clears the one it waits for before it asks.
struct ReplyFlags
{
    int ConnectSeen = 0;
    int ReadEndSeen = 0;
    int FreqSaveSeen = 0;
    int WifiSuccessSeen = 0;
    int EeramResetSeen = 0;
};

// What the exchanges with the device share besides the window: the receive
// path, the replies seen so far, and whether a firmware update holds the port.
struct Link
{
    ReceivePath receive;
    ReplyFlags replies;
    // The fields the parser has set since a read last cleared the list.
    QList<Field> fieldsSeen;
    // From the update start until it completes or fails. While it is set no
    // other action may close the port: that would leave the device half-flashed.
    bool updateHoldsPort = false;
};

} // namespace pelzo
