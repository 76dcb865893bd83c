#include "ui/ConfigFlags.h"

namespace telvor {

bool CallRecorded = false;
bool FirstRun = false;

}  // namespace telvor
