#pragma once

namespace pelzo {

class Session;
class Station;

// When the bootloader's requests are served: on Timer2's ticks, as the
// window does, or also the moment they arrive, as a command line may.
enum class ServeRequests { OnTick, OnArrivalToo };

// The port's receive and link-lost events and the ticks of both timers, bound
// to their handlers for this station and session. The window and pelzo-cli
// bind them here alike; the session unbinds the port when it goes.
void bindSessionEvents(Station &station, Session &session, ServeRequests serve = ServeRequests::OnTick);

} // namespace pelzo
