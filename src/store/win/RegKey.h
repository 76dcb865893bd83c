#pragma once
// Opening and creating registry keys into the owning key wrapper of base/win/Handles.h.
#include <windows.h>

#include <string>

#include "base/win/Handles.h"

namespace telvor {

// Result of RegOpenKeyExA; on failure `key` is left closed.
LONG OpenRegKey(UniqueRegKey& key, HKEY parent, const std::string& path, REGSAM access);
// Result of RegCreateKeyExA (every missing level is created); on failure `key` is closed.
LONG CreateRegKey(UniqueRegKey& key, HKEY parent, const std::string& path, REGSAM access);

}  // namespace telvor
