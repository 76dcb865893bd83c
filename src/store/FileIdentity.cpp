#include "store/FileIdentity.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace telvor {

FileIdentity StdFileIdentityProbe::Identify(const std::string& path) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    FileIdentity identity;
    if (!fs::is_regular_file(path, ec)) return identity;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return identity;
    const fs::file_time_type time = fs::last_write_time(path, ec);
    if (ec) return identity;
    identity.exists = true;
    identity.size = size;
    identity.writeTime = static_cast<std::int64_t>(time.time_since_epoch().count());
    identity.settled =
        time < fs::file_time_type::clock::now() - std::chrono::seconds(kSettleSeconds);
    return identity;
}

}  // namespace telvor
