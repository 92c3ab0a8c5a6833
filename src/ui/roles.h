#pragma once

#include "core/station.h"
#include "ui/controlname.h"

#include <array>

namespace pelzo {

// Which control plays each role the actions name.
constexpr ControlName controlFor(Button button)
{
    switch (button) {
    case Button::ReadData: return ControlName::Command6;
    case Button::WriteData: return ControlName::Command7;
    case Button::Apply: return ControlName::Command8;
    case Button::Restart: return ControlName::Command9;
    case Button::Update: return ControlName::Command2;
    case Button::OpenRom: return ControlName::Command1;
    case Button::OpenPort: return ControlName::Command3;
    }
    return ControlName::Command6;
}

constexpr ControlName PortListControl = ControlName::Combo1;
constexpr ControlName StatusBox = ControlName::Text3;
constexpr ControlName UpdateStatusLabel = ControlName::Label2;
constexpr ControlName WorkBox = ControlName::Text30;
constexpr std::array CtcssControls{ControlName::Text32, ControlName::Label21};

} // namespace pelzo
