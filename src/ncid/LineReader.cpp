#include "ncid/LineReader.h"

namespace telvor {

bool LineReader::Feed(std::string_view bytes, std::vector<std::string>& lines) {
    while (!failed_ && !bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        pending_.append(bytes.substr(0, end));
        if (end == std::string_view::npos) {
            // Still open: one byte more than the bound may yet be the CR of CR LF.
            const std::size_t limit = maxLineBytes_ + 1;
            if (pending_.size() > limit || (pending_.size() == limit && pending_.back() != '\r'))
                failed_ = true;
            break;
        }
        bytes.remove_prefix(end + 1);
        if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
        if (pending_.size() > maxLineBytes_) {
            failed_ = true;
            break;
        }
        lines.push_back(std::move(pending_));
        pending_.clear();
    }
    if (failed_) pending_.clear();
    return !failed_;
}

}  // namespace telvor
