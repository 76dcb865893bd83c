#include "store/CallList.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "store/RecordIo.h"

namespace telvor {
namespace {

constexpr std::size_t kNameAt = 0, kNameCap = 255;
constexpr std::size_t kCalledAt = 256, kCalledCap = 127;
constexpr std::size_t kTimeAt = 384;
constexpr std::size_t kNotInDatabaseAt = 392;
static_assert(kNotInDatabaseAt + 1 + 3 == kCallRecordSize);

// Fills a zeroed record.
void Encode(const CallRecord& call, unsigned char* record) {
    recordio::WriteField(record, kNameAt, kNameCap, call.name);
    recordio::WriteField(record, kCalledAt, kCalledCap, call.called);
    recordio::WriteDoubleLE(record + kTimeAt, call.time);
    record[kNotInDatabaseAt] = call.notInDatabase ? 1 : 0;
}

}  // namespace

AppendResult AppendCall(const std::string& path, const CallRecord& record) {
    std::array<unsigned char, kCallRecordSize> bytes{};
    Encode(record, bytes.data());

    // Whether the file exists is asked of the file system, never inferred from a failed open:
    // a file that exists but cannot be opened (no read access, locked) must not be replaced by
    // an empty one.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    AppendResult result = AppendResult::Written;
    recordio::FilePtr file;
    if (status.type() == fs::file_type::not_found) {
        // Append mode creates the file but never truncates one that appeared meanwhile.
        file = recordio::OpenFile(path, "ab");
        if (!file) return AppendResult::Failed;
        result = AppendResult::Created;
    } else {
        if (ec || !fs::is_regular_file(status)) return AppendResult::Failed;
        file = recordio::OpenFile(path, "r+b");
        if (!file) return AppendResult::Failed;
        // After the last whole record: a partial record left by an interrupted write is
        // overwritten, so the records stay aligned.
        if (std::fseek(file.get(), 0, SEEK_END) != 0) return AppendResult::Failed;
        const long size = std::ftell(file.get());
        if (size < 0) return AppendResult::Failed;
        const long whole = size - size % static_cast<long>(kCallRecordSize);
        if (std::fseek(file.get(), whole, SEEK_SET) != 0) return AppendResult::Failed;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    ok = std::fflush(file.get()) == 0 && ok;
    ok = std::fclose(file.release()) == 0 && ok;
    return ok ? result : AppendResult::Failed;
}

namespace {

void AppendRecords(std::span<const unsigned char> bytes, std::vector<CallRecord>& calls) {
    const std::size_t count = bytes.size() / kCallRecordSize;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* raw = bytes.data() + i * kCallRecordSize;
        calls.push_back(CallRecord{std::string(recordio::ReadField(raw, kNameAt, kNameCap)),
                                   std::string(recordio::ReadField(raw, kCalledAt, kCalledCap)),
                                   recordio::ReadDoubleLE(raw + kTimeAt),
                                   raw[kNotInDatabaseAt] != 0});
    }
}

}  // namespace

std::vector<CallRecord> LoadCalls(const std::string& path, bool* opened) {
    std::vector<CallRecord> calls;
    recordio::RecordReader reader(path, kCallRecordSize);
    if (opened != nullptr) *opened = reader.Opened();
    calls.reserve(reader.RecordCountHint());
    std::size_t count = 0;
    while (const unsigned char* batch = reader.NextBatch(count)) {
        AppendRecords({batch, count * kCallRecordSize}, calls);
    }
    return calls;
}

std::vector<CallRecord> ParseCalls(std::span<const unsigned char> bytes) {
    std::vector<CallRecord> calls;
    calls.reserve(bytes.size() / kCallRecordSize);
    AppendRecords(bytes, calls);
    return calls;
}

std::vector<unsigned char> EncodeCalls(const std::vector<CallRecord>& records) {
    std::vector<unsigned char> bytes(records.size() * kCallRecordSize, 0);
    for (std::size_t i = 0; i < records.size(); ++i) {
        Encode(records[i], bytes.data() + i * kCallRecordSize);
    }
    return bytes;
}

bool ReplaceCalls(const std::string& path, const std::vector<CallRecord>& records) {
    return recordio::ReplaceWithBackup(path, EncodeCalls(records));
}

}  // namespace telvor
