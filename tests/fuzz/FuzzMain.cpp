// One libFuzzer program per harness: TELVOR_FUZZ_HARNESS names the harness function.
#include "Harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    telvor::fuzz::TELVOR_FUZZ_HARNESS({data, size});
    return 0;
}
