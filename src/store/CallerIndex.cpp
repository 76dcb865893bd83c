#include "store/CallerIndex.h"

#include <array>

#include "store/RecordIo.h"

namespace telvor {

CallerMatch CallerIndex::Lookup(const std::string& path, std::string_view callingNumber) {
    if (callingNumber.empty()) return UnknownCaller();
    // A second attempt follows a file that changed between the check and the read of the
    // winning record; should it keep changing, the scan answers.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const FileIdentity now = files_.Identify(path);
        if (!UpToDate(path, now)) Rebuild(path, now);
        const CallerKeys::Hit hit = keys_.Find(callingNumber);
        if (!hit.found) return UnknownCaller();
        std::array<unsigned char, kCallerRecordSize> record;
        if (recordio::ReadRecordAt(path, hit.record, record.size(), record.data()) &&
            CallerPrefixLength(record.data(), callingNumber) == hit.length)
            return CallerMatchOf(record.data(), hit.length, callingNumber);
        built_ = false;
    }
    return LookupCaller(path, callingNumber);
}

bool CallerIndex::UpToDate(const std::string& path, const FileIdentity& now) const {
    // Numbers read from a file that was still fresh are read again: a write in the same tick
    // of the file system's clock would not show in the identity. A missing file that appears
    // always does.
    const bool trusted = identity_.settled || !identity_.exists;
    return built_ && trusted && now == identity_ && writes_ == CallerFileWrites() && path == path_;
}

// The identity is the one taken before reading: a change while the file is read shows as a
// new identity at the next lookup.
void CallerIndex::Rebuild(const std::string& path, const FileIdentity& now) {
    writes_ = CallerFileWrites();
    path_ = path;
    identity_ = now;
    ++builds_;
    keys_.Reset(static_cast<std::size_t>(now.size / kCallerRecordSize));
    const bool read =
        files_.ReadRecords(path, kCallerRecordSize,
                           [this](std::span<const unsigned char> records) { keys_.Add(records); });
    keys_.Finish();
    // A file that is there but could not be read (held by its writer, say) reads as empty, as
    // the scan would read it, but only for this call: the next one tries again.
    built_ = read || !now.exists;
}

}  // namespace telvor
