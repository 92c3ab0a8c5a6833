#include "core/startup.h"

#include "serial/linesettings.h"
#include "serial/portnames.h"
#include "serial/portsettingsstore.h"
#include "ui/fieldcontrols.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace pelzo {

namespace {

// At least what one exchange holds: the input buffer takes a whole report,
// the output buffer a firmware block frame in one write.
constexpr int InputBufferBytes = 4096;
constexpr int OutputBufferBytes = 2032;

void restoreSavedPortName(Form1 &form)
{
    form.Combo1->setEditText(
        ReadINI(QLatin1String(PortSettingsSection), QLatin1String(PortNameKey), portSettingsPath(form.platform())));
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

// Lists every port that opens now; a missing or busy port gets no item.
void probePorts(Form1 &form)
{
    SerialPort &port = form.port();
    const QString savedName = form.Combo1->currentText();
    for (int number = 1; number <= MaxPortNumber; ++number) {
        if (!port.setCommPort(number) || !port.open())
            continue;
        form.Combo1->addItem(portName(number));
        form.Combo1->setItemData(form.Combo1->count() - 1, port.devicePath(number), Qt::ToolTipRole);
        port.close();
    }
    // The first item added would otherwise replace the saved name.
    form.Combo1->setEditText(savedName);
    if (form.Combo1->count() == 0)
        form.Combo1->setToolTip(NoPortHint);
}

void fillChoiceLists(Form1 &form)
{
    for (const ChoiceList &list : choiceLists()) {
        auto *combo = form.control<QComboBox>(controlsOf(list.field).front());
        // Adding items must not change the text the field holds.
        const QString text = combo->currentText();
        combo->addItems(list.items);
        combo->setEditText(text);
    }
}

// The number after "COM" in the list's text; anything else leaves the port
// number where the probe left it.
void selectSavedPort(Form1 &form)
{
    bool isNumber = false;
    const int number = form.Combo1->currentText().mid(3).trimmed().toInt(&isNumber);
    if (isNumber)
        form.port().setCommPort(number);
}

void configurePort(SerialPort &port)
{
    port.setSettings(QLatin1String(DeviceLineSettings));
    port.setBufferSizes(InputBufferBytes, OutputBufferBytes);
    closePortIfOpen(port);
    // The service raises its receive event for every arrival of bytes and
    // hands out all waiting bytes at once, as the receive path needs.
}

void showCtcssAsUnused(Form1 &form)
{
    form.Text32->setEnabled(false);
    form.Label21->setEnabled(false);
    form.Text32->setText(QStringLiteral("---"));
}

} // namespace

void formLoad(Form1 &form)
{
    restoreSavedPortName(form);
    closePortIfOpen(form.port());
    probePorts(form);
    fillChoiceLists(form);
    selectSavedPort(form);
    configurePort(form.port());
    showCtcssAsUnused(form);
}

} // namespace pelzo
