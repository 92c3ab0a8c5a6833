#pragma once

namespace pelzo {

class Station;

// A pick from the address-mode list: "STATIC IP" enables the sixteen octet
// boxes, anything else disables them.
void addressModeRule(Station &station);

} // namespace pelzo
