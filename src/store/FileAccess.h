#pragma once
// The file operations the caller index needs from the platform, as a port: whether a file has
// changed (its identity), and its records read once from front to back. The Windows build
// asks the system (src/store/win), the native build POSIX (src/store/posix); tests can stand
// in.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace telvor {

// A file's time only moves in the steps of its file system's clock (a few milliseconds on
// Linux, two seconds on FAT): a second write within the same step leaves the time as it was.
// A file last written less than kSettleSeconds ago is therefore not settled, and whatever
// was derived from it has to be derived again on the next look.
inline constexpr int kSettleSeconds = 2;

// What tells whether a file has changed without reading it.
struct FileIdentity {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t writeTime = 0;  // in the platform's own units; only ever compared
    bool settled = false;        // last written at least kSettleSeconds ago

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

using RecordSink = std::function<void(std::span<const unsigned char> records)>;

class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // A file that cannot be examined (missing, a folder, no access) does not exist.
    virtual FileIdentity Identify(const std::string& path) const = 0;
    // Hands the file's whole records to `take` in pieces, in file order; a partial record at
    // the end is left out. False when the file cannot be opened.
    virtual bool ReadRecords(const std::string& path, std::size_t recordSize,
                             const RecordSink& take) const = 0;
};

}  // namespace telvor
