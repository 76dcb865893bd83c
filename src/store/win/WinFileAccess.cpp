#include "store/win/WinFileAccess.h"

#include <windows.h>

#include <memory>
#include <numeric>

#include "base/win/Handles.h"

namespace telvor {
namespace {

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns

struct ViewUnmapper {
    void operator()(const void* view) const { UnmapViewOfFile(view); }
};
using UniqueView = std::unique_ptr<const void, ViewUnmapper>;

}  // namespace

FileIdentity WinFileAccess::Identify(const std::string& path) const {
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

bool WinFileAccess::ReadRecords(const std::string& path, std::size_t recordSize,
                                const RecordSink& take) const {
    // Other programs may read, write, rename or delete the file meanwhile, as with fopen.
    const KernelHandle file(CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return false;
    const auto whole = static_cast<std::uint64_t>(size.QuadPart) / recordSize * recordSize;
    if (whole == 0) return true;  // an empty file cannot be mapped
    const KernelHandle mapping(
        CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return false;
    // Views that begin on the allocation granularity and end on a record, so no record is cut
    // in two; a few megabytes each, which a 32-bit process always finds room for.
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::uint64_t view =
        std::lcm<std::uint64_t>(system.dwAllocationGranularity, recordSize) * 16;
    for (std::uint64_t offset = 0; offset < whole; offset += view) {
        const std::uint64_t length = whole - offset < view ? whole - offset : view;
        const UniqueView bytes(
            MapViewOfFile(mapping.get(), FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                          static_cast<DWORD>(offset), static_cast<SIZE_T>(length)));
        if (!bytes) return false;
        take({static_cast<const unsigned char*>(bytes.get()), static_cast<std::size_t>(length)});
    }
    return true;
}

}  // namespace telvor
