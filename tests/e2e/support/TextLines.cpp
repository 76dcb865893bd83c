#include "support/TextLines.h"

#include "support/CaseFiles.h"

namespace telvor::e2e {

std::vector<std::string> ReadTextLines(const std::string& path) {
    std::vector<std::string> lines;
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return lines;
    std::string current;
    for (char c : *bytes) {
        if (c == '\n') {
            if (!current.empty() && current.back() == '\r') current.pop_back();
            lines.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines,
                                           const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

}  // namespace telvor::e2e
