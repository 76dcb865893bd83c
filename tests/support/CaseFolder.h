#pragma once
// The folder one case of either Wine tier works in, and the files in it. Every case runs in
// its own Wine prefix with its own work folder (TELVOR_CASE_DIR_WIN); the programs under test
// lie beside the test program. Failures throw std::runtime_error, which fails the test with
// the reason.
#include <optional>
#include <string>
#include <string_view>

namespace telvor::test {

// "<a>\<b>", without doubling a separator.
std::string JoinPath(std::string_view a, std::string_view b);

// The folder of the running test program: <build>\bin, where Telvor.exe, TELVACT.exe,
// Capi2032.dll and capisimctl.exe are built.
std::string BinDir();
std::string BinFile(std::string_view name);

// The case's work folder: TELVOR_CASE_DIR_WIN under the harness; run by hand, a fresh
// folder in the temp directory. Created on first use, the same for the whole process.
std::string CaseDir();

// A new (or existing) sub-folder of the case folder, e.g. an installation of the monitor.
std::string MakeCaseFolder(std::string_view name);

bool FileExists(const std::string& path);
// The whole file as bytes; nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Creates or replaces the file with exactly these bytes.
void WriteFileBytes(const std::string& path, std::string_view bytes);
// Moves the file's last write time `seconds` into the past, as if it had been written then.
void SetWriteTimeBack(const std::string& path, unsigned seconds);

}  // namespace telvor::test
