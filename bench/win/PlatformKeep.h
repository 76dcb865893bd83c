#pragma once
// What the platform itself keeps in memory for every caller window that is built and
// destroyed, measured in the soak's own process with the monitor's common-controls manifest.
//
// Wine's version-6 label control allocates a small block when it is given a font and frees
// it on destruction only for icon labels, so every destroyed text label leaves its block
// behind. A caller window has fourteen labels, and the monitor builds one for every call,
// shown or not. The soak allows this share on top of its own allowance; on Windows it
// measures as nothing.
#include <string>

namespace telvor::soak {

// Working-set bytes kept per destroyed window made like a caller window (its labels and
// buttons, each given a font), averaged over `windows` windows after a warm-up; 0 where
// nothing is kept or the manifest cannot be activated. `monitorExe` holds the manifest.
long long PlatformBytesPerCallerWindow(const std::string& monitorExe, unsigned windows);

}  // namespace telvor::soak
