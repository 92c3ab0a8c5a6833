// The roles the actions name, played by the window's controls.
#include "ui/form1.h"

#include "ui/roles.h"

namespace pelzo {

void Form1::showCaption(Button button, const QString &caption)
{
    setText(controlFor(button), caption);
}

void Form1::setButtonEnabled(Button button, bool enabled)
{
    setEnabled(controlFor(button), enabled);
}

void Form1::setPortListEnabled(bool enabled)
{
    setEnabled(PortListControl, enabled);
}

void Form1::setStatus(const QString &text)
{
    setText(StatusBox, text);
}

void Form1::setUpdateStatus(const QString &text)
{
    setText(UpdateStatusLabel, text);
}

void Form1::clearWorkBox()
{
    setText(WorkBox, QString());
}

void Form1::setCtcssEnabled(bool enabled)
{
    for (ControlName name : CtcssControls)
        setEnabled(name, enabled);
}

} // namespace pelzo
