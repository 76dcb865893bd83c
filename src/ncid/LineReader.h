#pragma once
// Bytes from a connection, in whatever pieces they arrive, as complete lines. A line ends
// with LF; a CR right before it is dropped. A line longer than the bound is an error: the
// peer is not speaking the protocol, and its connection is closed.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

class LineReader {
  public:
    explicit LineReader(std::size_t maxLineBytes) : maxLineBytes_(maxLineBytes) {}

    // Appends the lines `bytes` completes to `lines` (without their ends). False once a line
    // has passed the bound; the reader then takes nothing more.
    bool Feed(std::string_view bytes, std::vector<std::string>& lines);
    bool Failed() const { return failed_; }

  private:
    std::size_t maxLineBytes_;
    std::string pending_;
    bool failed_ = false;
};

}  // namespace telvor
