// libFuzzer's entry for one target; CALVOX_FUZZ_TARGET names it (set per program by the build).
#include "FuzzEntries.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const calvox::fuzz::Target* target = [] {
        const calvox::fuzz::Target* t = calvox::fuzz::FindTarget(CALVOX_FUZZ_TARGET);
        if (!t) {
            std::fprintf(stderr, "no fuzz target named %s\n", CALVOX_FUZZ_TARGET);
            std::abort();
        }
        return t;
    }();
    return target->run(data, size);
}
