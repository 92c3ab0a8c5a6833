#pragma once

namespace pelzo {

class Station;

// The port list opens: ports plugged in since it was filled are added and
// ports that went away are removed, in COM order; its text stays. No port is
// opened to find them, so no device is disturbed and no running action either.
void refreshPortList(Station &station);

} // namespace pelzo
