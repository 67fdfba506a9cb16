#include "sound/MonotonicTickCounter.h"

#include <chrono>

namespace sound {

std::uint32_t MonotonicTickCounter::GetTickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace sound
