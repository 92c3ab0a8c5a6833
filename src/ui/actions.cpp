#include "ui/actions.h"

#include "core/factorydefaults.h"
#include "serial/receivepath.h"
#include "ui/form1.h"

#include <QPushButton>

namespace pelzo {

void connectActions(Form1 &form)
{
    form.port().onReceive = [&form] { onSerialReceive(form); };
    QObject::connect(form.Command0, &QPushButton::clicked, &form, [&form] { applyFactoryDefaults(form); });
}

} // namespace pelzo
