#pragma once

#include <cstdint>

namespace sound {

// Milliseconds since some fixed moment, as a 32-bit count that wraps from 2^32 - 1 to 0.
class TickCounter {
public:
    virtual ~TickCounter() = default;

    virtual std::uint32_t GetTickCount() = 0;
};

} // namespace sound
