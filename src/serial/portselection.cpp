#include "serial/portselection.h"

#include "serial/portfailure.h"
#include "serial/portnames.h"
#include "ui/form1.h"

#include <QComboBox>

namespace pelzo {

void selectPort(Form1 &form)
{
    const auto number = listedPortNumber(form.Combo1->currentText());
    if (!number)
        return;
    if (!form.port().setCommPort(*number))
        form.platform().messageBox(QStringLiteral("Port is open"), portFailureDetail(form.port()));
}

} // namespace pelzo
