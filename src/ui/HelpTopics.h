#pragma once
// Which help page answers a request for help. The help is a folder of HTML pages beside the
// program, one page per help context: the shell opens a file path without a "#anchor", so a
// topic cannot be a place inside a shared page. An overview page stands in for everything
// that has no page of its own.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace telvor {

inline constexpr char kHelpFolder[] = "Hilfe";
inline constexpr char kHelpIndexPage[] = "index.html";

// The file name of a context's page, "1031.html"; the overview for context 0.
std::string HelpPageName(std::uint32_t context);

// The context a request stands for: the first nonzero one along `chain`, which runs from the
// control asked about up through its parents to the form; 0 when none has a context.
std::uint32_t EffectiveHelpContext(const std::vector<std::uint32_t>& chain);

// The page to open, relative to the program's folder ("Hilfe\1031.html"): the context's own
// page when `shipped` says it exists, otherwise the overview.
std::string HelpPagePath(std::uint32_t context,
                         const std::function<bool(const std::string& relativePath)>& shipped);

}  // namespace telvor
