#pragma once
// The programs of an e2e case, copied from the bin folder into folders of the case. The
// folders and files themselves come from the support both Wine tiers share.
#include <initializer_list>
#include <string>
#include <string_view>

#include "support/CaseFolder.h"

namespace telvor::e2e {

using test::BinDir;
using test::BinFile;
using test::CaseDir;
using test::FileExists;
using test::JoinPath;
using test::MakeCaseFolder;
using test::ReadFileBytes;
using test::WriteFileBytes;

// Copies files of the bin folder into `folder`, keeping their names.
void CopyFromBin(const std::string& folder, std::initializer_list<std::string_view> names);

// Copies a folder of the bin folder (its files, not its sub-folders) into `folder`.
void CopyFolderFromBin(const std::string& folder, std::string_view name);

// A folder holding Telvor.exe and the line simulator's Capi2032.dll, as installed on a PC.
std::string InstallMonitor(std::string_view name = "Telvor");

}  // namespace telvor::e2e
