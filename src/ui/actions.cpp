#include "ui/actions.h"

#include "core/factorydefaults.h"
#include "firmware/blocktransfer.h"
#include "firmware/openrom.h"
#include "firmware/updatestart.h"
#include "serial/portfailure.h"
#include "serial/portselection.h"
#include "serial/receivepath.h"
#include "settingsfile/loadfile.h"
#include "settingsfile/savefile.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QPushButton>

namespace pelzo {

void connectActions(Form1 &form)
{
    form.port().onReceive = [&form] { onSerialReceive(form); };
    form.port().onLinkLost = [&form] { reportLinkLost(form); };
    QObject::connect(form.Combo1, &QComboBox::activated, &form, [&form] { selectPort(form); });
    QObject::connect(form.Command0, &QPushButton::clicked, &form, [&form] { applyFactoryDefaults(form); });
    QObject::connect(form.Command1, &QPushButton::clicked, &form, [&form] { openRom(form); });
    QObject::connect(form.Command2, &QPushButton::clicked, &form, [&form] { startUpdate(form); });
    form.Timer1->onTick = [&form] { connectTick(form); };
    form.Timer2->onTick = [&form] { transferTick(form); };
    QObject::connect(form.Command4, &QPushButton::clicked, &form, [&form] { loadFile(form); });
    QObject::connect(form.Command5, &QPushButton::clicked, &form, [&form] { saveFile(form); });
}

} // namespace pelzo
