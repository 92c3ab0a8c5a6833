#include "serial/portselection.h"

#include "core/station.h"
#include "serial/portfailure.h"
#include "serial/portnames.h"

namespace pelzo {

void selectPort(Station &station)
{
    const auto number = listedPortNumber(station.text(ControlName::Combo1));
    if (!number)
        return;
    if (!station.port().setCommPort(*number))
        station.platform().messageBox(QStringLiteral("Port is open"), portFailureDetail(station.port()));
}

} // namespace pelzo
