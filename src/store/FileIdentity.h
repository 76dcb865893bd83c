#pragma once
// What tells whether a file has changed without reading it: whether it exists, its size and
// the time of its last write. The probe is a port: the Windows build asks the system in
// 100-ns steps, the native build uses the C++ library, tests can stand in.
#include <cstdint>
#include <string>

namespace telvor {

// A file's time only moves in the steps of its file system's clock (a few milliseconds on
// Linux, two seconds on FAT): a second write within the same step leaves the time as it was.
// A file last written less than kSettleSeconds ago is therefore not settled, and whatever
// was derived from it has to be derived again on the next look.
inline constexpr int kSettleSeconds = 2;

struct FileIdentity {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t writeTime = 0;  // in the probe's own units; only ever compared
    bool settled = false;        // last written at least kSettleSeconds ago

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

class FileIdentityProbe {
  public:
    virtual ~FileIdentityProbe() = default;
    // A file that cannot be examined (missing, a folder, no access) does not exist.
    virtual FileIdentity Identify(const std::string& path) const = 0;
};

// Through std::filesystem: nanoseconds on Linux. MinGW's library reports whole seconds, too
// coarse to tell two writes apart, so the Windows build uses WinFileIdentityProbe.
class StdFileIdentityProbe final : public FileIdentityProbe {
  public:
    FileIdentity Identify(const std::string& path) const override;
};

}  // namespace telvor
