#include "ui/HelpTopics.h"

namespace telvor {

namespace {

std::string InHelpFolder(const std::string& page) {
    return std::string(kHelpFolder) + "\\" + page;
}

}  // namespace

std::string HelpPageName(std::uint32_t context) {
    return context == 0 ? kHelpIndexPage : std::to_string(context) + ".html";
}

std::uint32_t EffectiveHelpContext(const std::vector<std::uint32_t>& chain) {
    for (std::uint32_t context : chain)
        if (context != 0) return context;
    return 0;
}

std::string HelpPagePath(std::uint32_t context,
                         const std::function<bool(const std::string& relativePath)>& shipped) {
    const std::string page = InHelpFolder(HelpPageName(context));
    if (context != 0 && shipped && shipped(page)) return page;
    return InHelpFolder(kHelpIndexPage);
}

}  // namespace telvor
