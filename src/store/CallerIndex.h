#pragma once
// The caller lookup of the call pipeline without reading the whole caller database per call:
// the numbers are kept in memory as hashes (CallerKeys) and read again only when the file has
// changed, which is asked of the file's identity (existence, size, last write time) on every
// lookup, and after every write of this process (CallerFileWrites). A file written less than
// kSettleSeconds before it was read is read again on the next lookup. The record a lookup
// names is read from the file, one record, and checked against the calling number; should
// it not match (the file changed unseen, or two numbers share a hash), the numbers are read
// again, and if it still does not match, the whole file is scanned as LookupCaller does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/CallerDatabase.h"
#include "store/CallerKeys.h"
#include "store/FileAccess.h"

namespace telvor {

class CallerIndex {
  public:
    explicit CallerIndex(const FileAccess& files) : files_(files) {}

    // The same result as LookupCaller(path, callingNumber) on the file as it is now.
    CallerMatch Lookup(const std::string& path, std::string_view callingNumber);

    // How often the numbers were read from the file, and what they take in memory.
    std::size_t Builds() const { return builds_; }
    std::size_t MemoryBytes() const { return keys_.MemoryBytes(); }

  private:
    bool UpToDate(const std::string& path, const FileIdentity& now) const;
    void Rebuild(const std::string& path, const FileIdentity& now);

    const FileAccess& files_;
    CallerKeys keys_;
    bool built_ = false;
    std::string path_;
    FileIdentity identity_;
    std::uint64_t writes_ = 0;
    std::size_t builds_ = 0;
};

}  // namespace telvor
