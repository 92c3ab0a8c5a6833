#pragma once

#include "core/deviceconfig.h"

#include <span>

namespace pelzo {

// Which control of the window holds each field; the address fields hold four octet boxes.
struct FieldControls
{
    Field field;
    std::span<const char *const> controls;
};

std::span<const FieldControls> fieldControls();
std::span<const char *const> controlsOf(Field field);

// The sixteen octet boxes of the four address fields, in box order.
std::span<const char *const> octetBoxNames();

} // namespace pelzo
