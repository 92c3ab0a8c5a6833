#pragma once

#include <cstdio>
#include <cstdlib>

// A property that fails stops the fuzzer with the input that broke it.
#define FUZZ_CHECK(condition)                                                                                     \
    do {                                                                                                          \
        if (!(condition)) {                                                                                       \
            fprintf(stderr, "check failed: %s\n", #condition);                                                    \
            abort();                                                                                              \
        }                                                                                                         \
    } while (0)
