#include "monitor/win/ProgramFlags.h"

namespace telvor {

ProgramFlags& Program() {
    static ProgramFlags flags;
    return flags;
}

}  // namespace telvor
