#include <cstdio>
#include <cstdlib>

#include "Harnesses.h"

namespace telvor::fuzz {

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace telvor::fuzz
