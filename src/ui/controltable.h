#pragma once

#include "ui/controlname.h"
#include "core/deviceconfig.h"

#include <QString>

#include <optional>
#include <span>

namespace pelzo {

enum class ControlKind { Frame, Label, TextBox, MultiLineText, ComboBox, Button, CheckBox, ProgressBar };

// One control of the main window. Positions are in twips (15 to a pixel),
// relative to the parent; the parent is the window itself when there is none.
struct ControlRow
{
    ControlName name;
    ControlKind kind;
    std::optional<ControlName> parent;
    const char *text; // caption or initial text, UTF-8
    int left, top, width, height;
    int tabIndex;                 // -1: not in the tab order
    int typingLimit = 0;          // characters a user may type; 0 for no limit
    std::optional<Field> field{}; // the configuration field it holds; an address has four boxes in a row
    std::optional<ControlName> label{}; // the label that names it, for screen readers too
    bool hidden = false;                // a work field the user never sees
    const char *description = nullptr;  // what a screen reader calls an input that no label names
};

// What a screen reader calls the control: its label (with the box number in
// an address row), its own description, or its caption.
QString accessibleNameOf(const ControlRow &row);

std::span<const ControlRow> controlTable();
const ControlRow &rowOf(ControlName control);

// The controls that hold a field, in box order.
std::span<const ControlName> controlsOf(Field field);
// The sixteen octet boxes of the four address fields, in box order.
std::span<const ControlName> octetBoxNames();

constexpr int TwipsPerPixel = 15;
constexpr int ClientWidthTwips = 7785;
constexpr int ClientHeightTwips = 7530;

} // namespace pelzo
