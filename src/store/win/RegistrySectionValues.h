#pragma once
// All values of one registry key with their texts, read in one pass over one open key.
#include <windows.h>

#include <string>
#include <string_view>

#include "store/Migration.h"

namespace telvor {

// Names and texts in enumeration order; empty when the key does not exist. A value whose
// type is not text raises StoreError 61626, as a single read does.
SectionValues ReadRegistrySectionValues(HKEY root, const std::string& keyPath);

}  // namespace telvor
