#include "ui/addressmoderule.h"

#include "core/station.h"

namespace pelzo {

void addressModeRule(Station &station)
{
    station.setOctetBoxesEnabled(station.fieldText(Field::AddressMode) == StaticIp);
}

} // namespace pelzo
