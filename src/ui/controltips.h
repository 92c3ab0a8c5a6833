#pragma once

#include <QString>

#include <array>
#include <map>

class QWidget;

namespace pelzo {

// The parts a control's tooltip is made of. Qt hands the tooltip to screen
// readers as the control's description, so it is written for them too.
enum class TipPart {
    Value,       // the whole value while the box clips it, or what it stands for
    Held,        // what the station held before the field was changed
    Explanation, // what the control is, its form and limits, an example
};

// Keeps each control's tooltip parts; any part may change on its own.
class ControlTips
{
public:
    void set(QWidget *control, TipPart part, const QString &text);

private:
    static constexpr std::size_t PartCount = std::size_t(TipPart::Explanation) + 1;
    std::map<QWidget *, std::array<QString, PartCount>> m_parts;
};

} // namespace pelzo
