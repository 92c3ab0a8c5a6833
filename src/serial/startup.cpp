#include "serial/startup.h"

#include "core/station.h"
#include "serial/linesettings.h"
#include "serial/portnames.h"
#include "serial/portlist.h"
#include "serial/portsettingsstore.h"

namespace pelzo {

namespace {

// At least what one exchange holds: the input buffer takes a whole report,
// the output buffer a firmware block frame in one write.
constexpr int InputBufferBytes = 4096;
constexpr int OutputBufferBytes = 2032;

void restoreSavedPortName(Station &station)
{
    station.setPortName(ReadINI(QLatin1String(PortSettingsSection), QLatin1String(PortNameKey),
                                                 portSettingsPath(station.platform())));
}

void closePortIfOpen(SerialPort &port)
{
    if (port.isOpen())
        port.close();
}

// Start-up shows no message, so a first run with no usable port explains itself here.
const QString NoPortHint = QStringLiteral(
    "No serial port could be opened. Plug in the PELZO's USB serial adapter and restart the program. "
    "On Linux you need to be in the group that owns serial devices (usually dialout), and a braille "
    "display service (brltty) may hold USB adapters: see Troubleshooting in the user guide.");

// The first sixteen, and the higher numbers (on Windows) of ports the system lists.
QList<int> numbersToProbe(const SerialPort &port)
{
    QList<int> numbers;
    for (int number = 1; number <= MaxPortNumber; ++number)
        numbers << number;
    // Listing the system's ports takes a while, and only Windows has names beyond the sixteen.
    if constexpr (HighestPortNumber > MaxPortNumber) {
        for (int number : port.presentPorts()) {
            if (number > MaxPortNumber)
                numbers << number;
        }
    }
    return numbers;
}

// Lists every port that opens now; a missing or busy port gets no item.
void probePorts(Station &station)
{
    SerialPort &port = station.port();
    for (int number : numbersToProbe(port)) {
        if (!port.setCommPort(number) || !port.openToProbe())
            continue;
        station.addPortListItem(portName(number), portTooltip(port, number));
        port.close();
    }
    if (station.portListCount() == 0)
        station.setPortListHint(NoPortHint);
}

void fillChoiceLists(Station &station)
{
    for (const ChoiceList &list : choiceLists())
        station.addChoices(list.field, list.items);
}

// The number after "COM" in the list's text; anything else leaves the port
// number where the probe left it.
void selectSavedPort(Station &station)
{
    bool isNumber = false;
    const int number = station.portName().mid(3).trimmed().toInt(&isNumber);
    if (isNumber)
        station.port().setCommPort(number);
}

void configurePort(SerialPort &port)
{
    port.setSettings(QLatin1String(DeviceLineSettings));
    port.setBufferSizes(InputBufferBytes, OutputBufferBytes);
    closePortIfOpen(port);
    // The service raises its receive event for every arrival of bytes and
    // hands out all waiting bytes at once, as the receive path needs.
}

void showCtcssAsUnused(Station &station)
{
    station.setCtcssEnabled(false);
    station.setFieldText(Field::Ctcss, QStringLiteral("---"));
}

} // namespace

void formLoad(Station &station)
{
    restoreSavedPortName(station);
    closePortIfOpen(station.port());
    probePorts(station);
    fillChoiceLists(station);
    selectSavedPort(station);
    configurePort(station.port());
    showCtcssAsUnused(station);
}

} // namespace pelzo
