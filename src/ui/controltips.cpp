#include "ui/controltips.h"

#include <QStringList>
#include <QWidget>

namespace pelzo {

void ControlTips::set(QWidget *control, TipPart part, const QString &text)
{
    auto &parts = m_parts[control];
    if (parts[std::size_t(part)] == text)
        return;
    parts[std::size_t(part)] = text;
    QStringList shown;
    for (const QString &each : parts) {
        if (!each.isEmpty())
            shown << each;
    }
    control->setToolTip(shown.join(QLatin1Char('\n')));
}

} // namespace pelzo
