#pragma once

#include <cstdlib>

// A property that does not hold aborts: the fuzzer keeps the input, the replay fails.
inline void Verifica(bool condizione)
{
    if (!condizione)
        std::abort();
}
