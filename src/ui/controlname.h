#pragma once

#include <cstddef>

namespace pelzo {

// Every control and component of the window, by the name it carries
// everywhere: in the code, as objectName, and in the tests. The off-screen
// hex dump Text1 is a plain value of the station, not a control.
#define PELZO_CONTROL_NAMES(X)                                                                                     \
    X(Form1) X(Frame1) X(Frame2) X(Frame3) X(Frame4) X(Frame5) X(Frame6)                                           \
    X(Label1) X(Label2) X(Label3) X(Label4) X(Label5) X(Label6) X(Label7) X(Label8) X(Label9) X(Label10)           \
    X(Label11) X(Label12) X(Label13) X(Label14) X(Label15) X(Label16) X(Label17) X(Label18) X(Label19)             \
    X(Label20) X(Label21) X(Label22) X(Label23) X(Label24) X(Label25) X(Label26)                                   \
    X(Text3) X(Text4) X(Text5) X(Text6) X(Text7) X(Text8) X(Text10) X(Text11) X(Text12)                   \
    X(Text13) X(Text14) X(Text15) X(Text16) X(Text17) X(Text18) X(Text19) X(Text20) X(Text21) X(Text22)           \
    X(Text23) X(Text24) X(Text25) X(Text26) X(Text27) X(Text28) X(Text29) X(Text30) X(Text31) X(Text32)           \
    X(Text33) X(Text34)                                                                                            \
    X(Combo1) X(Combo2) X(Combo3) X(Combo4) X(Combo5) X(Combo6) X(Combo7) X(Combo8) X(Combo16)                     \
    X(Command0) X(Command1) X(Command2) X(Command3) X(Command4) X(Command5) X(Command6) X(Command7)               \
    X(Command8) X(Command9)                                                                                        \
    X(Check1) X(ProgressBar1) X(Timer1) X(Timer2) X(MSComm1)

enum class ControlName {
#define PELZO_CONTROL_ENUM(name) name,
    PELZO_CONTROL_NAMES(PELZO_CONTROL_ENUM)
#undef PELZO_CONTROL_ENUM
};

inline constexpr const char *ControlNameTexts[] = {
#define PELZO_CONTROL_TEXT(name) #name,
    PELZO_CONTROL_NAMES(PELZO_CONTROL_TEXT)
#undef PELZO_CONTROL_TEXT
};

inline constexpr std::size_t ControlCount = sizeof ControlNameTexts / sizeof ControlNameTexts[0];

constexpr const char *nameOf(ControlName control)
{
    return ControlNameTexts[std::size_t(control)];
}

} // namespace pelzo
