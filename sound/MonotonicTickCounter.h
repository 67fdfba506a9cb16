#pragma once

#include "sound/TickCounter.h"

namespace sound {

// Reads the system's monotonic clock.
class MonotonicTickCounter : public TickCounter {
public:
    std::uint32_t GetTickCount() override;
};

} // namespace sound
