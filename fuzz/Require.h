#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer on a broken rule, naming it; libFuzzer then keeps the input that broke
// it.
inline void require(bool holds, const char *rule)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}
