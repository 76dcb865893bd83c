#pragma once
// Settings of Wine itself in the case's prefix, which the test shares with its programs.
#include <string_view>

namespace telvor::e2e {

// The Windows version one program sees (HKCU\Software\Wine\AppDefaults\<exe>, value
// "Version"): "win98" gives major 4 on the Windows 95 platform, "win31" major 3, "win10" NT.
// Takes effect for programs started afterwards; throws std::runtime_error when it cannot be
// written.
void SetWindowsVersionFor(std::string_view exeName, std::string_view version);

}  // namespace telvor::e2e
