// The control pipe's line protocol, independent of the pipe itself. One request line in,
// one answer out: "OK <n>\n" followed by n data lines, or "ERR <reason>\n".
#pragma once

#include <string>
#include <string_view>

namespace capisim {

class Simulator;

// Longest request line the server accepts (a raw message of 64 KiB in hex, plus words).
inline constexpr std::size_t kMaxRequestLine = 140000;

std::string ExecuteRequest(Simulator& sim, std::string_view line);

}  // namespace capisim
