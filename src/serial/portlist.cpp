#include "serial/portlist.h"

#include "core/station.h"
#include "serial/portnames.h"

namespace pelzo {

QString portTooltip(const SerialPort &port, int number)
{
    const QString device = port.devicePath(number);
    const QString description = port.portDescription(number);
    return description.isEmpty() ? device : device + QStringLiteral(": ") + description;
}

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
            station.addPortListItem(portName(number), portTooltip(station.port(), number));
    }
}

} // namespace pelzo
