#include "serial/portselection.h"

#include "core/station.h"
#include "serial/portfailure.h"
#include "serial/portnames.h"

namespace pelzo {

Outcome selectPort(Station &station)
{
    const auto number = listedPortNumber(station.portName());
    if (!number)
        return {};
    if (!station.port().setCommPort(*number))
        return Outcome::ended(Result::Refused, portFailureDetail(station.port()));
    return {};
}

} // namespace pelzo
