#include "store/CallList.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

#include "store/RecordIo.h"

namespace telvor {
namespace {

constexpr std::size_t kNameAt = 0, kNameCap = 255;
constexpr std::size_t kCalledAt = 256, kCalledCap = 127;
constexpr std::size_t kTimeAt = 384;
constexpr std::size_t kNotInDatabaseAt = 392;
static_assert(kNotInDatabaseAt + 1 + 3 == kCallRecordSize);

// Fills a zeroed record.
void Encode(const CallView& call, unsigned char* record) {
    recordio::WriteField(record, kNameAt, kNameCap, call.name);
    recordio::WriteField(record, kCalledAt, kCalledCap, call.called);
    recordio::WriteDoubleLE(record + kTimeAt, call.time);
    record[kNotInDatabaseAt] = call.notInDatabase ? 1 : 0;
}

CallView ViewOf(const CallRecord& record) {
    return {record.name, record.called, record.time, record.notInDatabase};
}

}  // namespace

CallView CallRecordSource::At(std::size_t index) const {
    return ViewOf(records_[index]);
}

AppendResult AppendCall(const std::string& path, const CallRecord& record) {
    std::array<unsigned char, kCallRecordSize> bytes{};
    Encode(ViewOf(record), bytes.data());

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

// Hands each whole record of `bytes` to the sink without copying its texts.
void ViewRecords(const unsigned char* bytes, std::size_t count, CallSink& sink) {
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* raw = bytes + i * kCallRecordSize;
        sink.Add(CallView{recordio::ReadField(raw, kNameAt, kNameCap),
                          recordio::ReadField(raw, kCalledAt, kCalledCap),
                          recordio::ReadDoubleLE(raw + kTimeAt), raw[kNotInDatabaseAt] != 0});
    }
}

struct RecordCollector final : CallSink {
    std::vector<CallRecord> calls;
    void Expect(std::size_t count) override { calls.reserve(count); }
    void Add(const CallView& call) override {
        calls.push_back(CallRecord{std::string(call.name), std::string(call.called), call.time,
                                   call.notInDatabase});
    }
};

}  // namespace

bool ReadCalls(const std::string& path, CallSink& sink) {
    recordio::RecordReader reader(path, kCallRecordSize);
    if (!reader.Opened()) return false;
    sink.Expect(reader.RecordCountHint());
    std::size_t count = 0;
    while (const unsigned char* batch = reader.NextBatch(count)) ViewRecords(batch, count, sink);
    return true;
}

std::vector<CallRecord> LoadCalls(const std::string& path, bool* opened) {
    RecordCollector records;
    const bool ok = ReadCalls(path, records);
    if (opened != nullptr) *opened = ok;
    return std::move(records.calls);
}

std::vector<CallRecord> ParseCalls(std::span<const unsigned char> bytes) {
    RecordCollector records;
    records.Expect(bytes.size() / kCallRecordSize);
    ViewRecords(bytes.data(), bytes.size() / kCallRecordSize, records);
    return std::move(records.calls);
}

std::vector<unsigned char> EncodeCalls(const std::vector<CallRecord>& records) {
    std::vector<unsigned char> bytes(records.size() * kCallRecordSize, 0);
    for (std::size_t i = 0; i < records.size(); ++i) {
        Encode(ViewOf(records[i]), bytes.data() + i * kCallRecordSize);
    }
    return bytes;
}

bool ReplaceCalls(const std::string& path, const std::vector<CallRecord>& records) {
    return ReplaceCalls(path, CallRecordSource(records));
}

bool ReplaceCalls(const std::string& path, const CallSource& calls) {
    constexpr std::size_t kBatch = 1024;  // about 400 KB of records at a time
    std::vector<unsigned char> batch(kBatch * kCallRecordSize);
    const std::size_t count = calls.Count();
    std::size_t next = 0;
    return recordio::ReplaceWithBackup(path, [&]() -> std::span<const unsigned char> {
        const std::size_t n = std::min(kBatch, count - next);
        std::fill_n(batch.begin(), n * kCallRecordSize, 0);  // no remnants after a text
        for (std::size_t i = 0; i < n; ++i)
            Encode(calls.At(next + i), batch.data() + i * kCallRecordSize);
        next += n;
        return {batch.data(), n * kCallRecordSize};
    });
}

}  // namespace telvor
