#include "ui/FirstRun.h"

namespace telvor {

bool FirstRun = false;

}  // namespace telvor
