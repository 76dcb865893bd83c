#pragma once
// FileAccess on Windows: the identity from GetFileAttributesExA (one call, the write time in
// 100-ns steps; the C++ library of MinGW reports whole seconds, too coarse to tell two writes
// apart), and the records read through views of a file mapping, so that they are not copied
// out of the system's cache.
#include "store/FileAccess.h"

namespace telvor {

class WinFileAccess final : public FileAccess {
  public:
    FileIdentity Identify(const std::string& path) const override;
    bool ReadRecords(const std::string& path, std::size_t recordSize,
                     const RecordSink& take) const override;
};

}  // namespace telvor
