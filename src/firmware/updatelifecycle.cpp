#include "firmware/updatelifecycle.h"

#include "ui/controltable.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cstring>

namespace pelzo {

quint32 beginUpdate(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    // A connect phase whose port was lost may still be ticking; this start replaces it.
    form.Timer1->stop();
    fw.updateInProgress = true;
    fw.bootloaderAddressed = false;
    fw.headerSent = false;
    fw.BootReady = 0;
    fw.unfinishedAt.reset();
    return ++fw.startNumber;
}

bool isCurrentStart(const Form1 &form, quint32 startNumber)
{
    return form.firmware.updateInProgress && form.firmware.startNumber == startNumber;
}

void endUpdate(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    form.Timer1->stop();
    form.Command2->setText(UpdateCaption);
    fw.updateInProgress = false;
    fw.bootloaderAddressed = false;
    fw.headerSent = false;
    fw.BootReady = 0;
    ++fw.startNumber;
}

void setUpdateControlsEnabled(Form1 &form, bool enabled)
{
    form.Command1->setEnabled(enabled);
    form.Command2->setEnabled(enabled);
    form.Command3->setEnabled(enabled);
    form.Combo1->setEnabled(enabled);
}

void restoreUpdateStatusCaption(Form1 &form)
{
    const auto table = controlTable();
    const auto row = std::find_if(table.begin(), table.end(),
                                   [](const ControlSpec &c) { return std::strcmp(c.name, "Label2") == 0; });
    form.Label2->setText(QString::fromUtf8(row->text));
}

} // namespace pelzo
