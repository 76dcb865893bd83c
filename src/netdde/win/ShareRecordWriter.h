#pragma once
// Writes the monitor's network DDE share record (netdde/ShareRecord.h) below
// HKEY_LOCAL_MACHINE. Start-up does so when the stored data is not of this version.
namespace telvor {

// Each value is a single write of an inactive TRegAppConfig. Needs write access to
// HKEY_LOCAL_MACHINE: StoreError 61627 or 61628 otherwise, which start-up shows in the
// store's error box where forwarding runs (ShowsShareRecordFailure).
void WriteNetDdeShareRecord();

}  // namespace telvor
