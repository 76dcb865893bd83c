#include <windows.h>

#include "store/win/WinFileIdentityProbe.h"

namespace telvor {
namespace {

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns

}  // namespace

FileIdentity WinFileIdentityProbe::Identify(const std::string& path) const {
    FileIdentity identity;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return identity;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return identity;
    identity.exists = true;
    identity.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    identity.writeTime = Ticks(data.ftLastWriteTime);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    identity.settled = identity.writeTime < Ticks(now) - kSettleSeconds * kTicksPerSecond;
    return identity;
}

}  // namespace telvor
