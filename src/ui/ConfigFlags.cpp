#include "ui/ConfigFlags.h"

namespace telvor {

bool CallRecorded = false;

}  // namespace telvor
