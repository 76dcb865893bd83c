#pragma once
// The file identity from GetFileAttributesExA: one call, the write time in 100-ns steps.
#include "store/FileIdentity.h"

namespace telvor {

class WinFileIdentityProbe final : public FileIdentityProbe {
  public:
    FileIdentity Identify(const std::string& path) const override;
};

}  // namespace telvor
