// The libFuzzer entry of one target; QUORVEL_FUZZ_FUNCTION names it at compile time.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return quorvel::fuzz::QUORVEL_FUZZ_FUNCTION(data, size);
}
