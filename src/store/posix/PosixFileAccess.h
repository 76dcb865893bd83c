#pragma once
// FileAccess on POSIX systems: stat() with nanosecond write times, and the records read
// through a read-only mapping of the file, so that they are not copied out of the page cache.
#include "store/FileAccess.h"

namespace telvor {

class PosixFileAccess final : public FileAccess {
  public:
    FileIdentity Identify(const std::string& path) const override;
    bool ReadRecords(const std::string& path, std::size_t recordSize,
                     const RecordSink& take) const override;
};

}  // namespace telvor
