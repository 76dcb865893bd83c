#pragma once
// Line-oriented text files a program writes while it runs (the simulator's event log, the
// protocol file), read by the test once or while the program goes on writing.
#include <string>
#include <vector>

namespace telvor::e2e {

// The lines of the file without their CR LF or LF; empty when it cannot be read.
std::vector<std::string> ReadTextLines(const std::string& path);

// The lines that begin with `prefix`, in order.
std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines,
                                           const std::string& prefix);

}  // namespace telvor::e2e
