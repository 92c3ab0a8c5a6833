#include "serial/portlist.h"

#include "core/station.h"
#include "serial/portnames.h"

namespace pelzo {

void refreshPortList(Station &station)
{
    const QList<int> present = station.port().presentPorts();
    const QStringList listed = station.portListItems();
    for (const QString &name : listed) {
        const auto number = listedPortNumber(name);
        if (!number || !present.contains(*number))
            station.removePortListItem(name);
    }
    for (int number : present) {
        if (!listed.contains(portName(number)))
            station.addPortListItem(portName(number), station.port().devicePath(number));
    }
}

} // namespace pelzo
