#pragma once
// Program-wide flag of the first start: set at start-up when the stored data is missing or of
// version 1.01 or 1.05. The configuration dialog reads it when it is first shown, opens its
// MSN page and greets the user.
namespace telvor {

extern bool FirstRun;

}  // namespace telvor
