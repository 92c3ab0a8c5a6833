#pragma once

#include <span>

namespace pelzo {

enum class ControlKind { Frame, Label, TextBox, MultiLineText, ComboBox, Button, CheckBox, ProgressBar };

// One control of the main window. Positions are in twips (15 to a pixel),
// relative to the parent; the parent is the window itself when empty.
struct ControlSpec
{
    const char *name;
    ControlKind kind;
    const char *parent;
    const char *text; // caption or initial text, UTF-8
    int left, top, width, height;
    int tabIndex;          // -1: not in the tab order
    int typingLimit = 0;   // characters a user may type; 0 for no limit
    bool hidden = false;   // a work field the user never sees
};

std::span<const ControlSpec> controlTable();

constexpr int TwipsPerPixel = 15;
constexpr int ClientWidthTwips = 7785;
constexpr int ClientHeightTwips = 7530;

} // namespace pelzo
