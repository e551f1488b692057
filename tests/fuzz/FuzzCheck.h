#pragma once

#include <cstdio>
#include <cstdlib>

// A property the code under fuzzing must keep: a broken one aborts, so that libFuzzer
// reports it like a crash and keeps the input that broke it.
inline void require(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "Broken property: %s\n", property);
        std::abort();
    }
}
