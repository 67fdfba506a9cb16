#pragma once

namespace sound {

class EventPump;
class TickCounter;

namespace Module1 {

// Holds the caller for ms milliseconds while the window stays alive: its pending events
// are dispatched at least once, then on every pass until the tick counter reads more
// than ms past the start. A counter that goes backwards ends the wait at once.
void Delay(double ms, TickCounter &ticks, EventPump &events);

} // namespace Module1
} // namespace sound
