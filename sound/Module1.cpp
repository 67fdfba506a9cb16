#include "sound/Module1.h"

#include "sound/EventPump.h"
#include "sound/TickCounter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace sound::Module1 {
namespace {

// The counter's low 32 bits taken as a signed number: past 2^31 it reads negative.
double reading(TickCounter &ticks)
{
    return static_cast<double>(static_cast<std::int32_t>(ticks.GetTickCount()));
}

} // namespace

void Delay(double ms, TickCounter &ticks, EventPump &events)
{
    const double start = reading(ticks);
    const double deadline = reading(ticks) + ms;
    if (!std::isfinite(deadline)) {
        // No reading can pass such a deadline: the wait would never end.
        events.dispatchPendingEvents(0);
        return;
    }
    double current = start;
    for (;;) {
        // Sleep until the first reading that can end the wait, unless an event comes
        // first; the counter moves in whole milliseconds.
        const double untilDone = std::floor(deadline) + 1 - current;
        events.dispatchPendingEvents(
            untilDone >= 1 ? static_cast<int>(std::min(untilDone, 1e6)) : 0);
        current = reading(ticks);
        if (current > deadline || current < start)
            return;
    }
}

} // namespace sound::Module1
