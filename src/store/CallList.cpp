#include "store/CallList.h"

#include <array>
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

    AppendResult result = AppendResult::Written;
    recordio::FilePtr file = recordio::OpenFile(path, "r+b");
    if (!file) {
        // Only a file that is truly absent is created; one that exists but cannot be opened
        // (locked, no access) must not be replaced by an empty one.
        if (recordio::OpenFile(path, "rb")) return AppendResult::Failed;
        file = recordio::OpenFile(path, "wb");
        if (!file) return AppendResult::Failed;
        result = AppendResult::Created;
    } else {
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

bool ReadCalls(const std::string& path, CallSink& sink) {
    recordio::RecordReader reader(path, kCallRecordSize);
    if (!reader.Opened()) return false;
    sink.Expect(reader.RecordCountHint());
    std::size_t count = 0;
    while (const unsigned char* batch = reader.NextBatch(count)) {
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char* bytes = batch + i * kCallRecordSize;
            sink.Add(CallView{recordio::ReadField(bytes, kNameAt, kNameCap),
                              recordio::ReadField(bytes, kCalledAt, kCalledCap),
                              recordio::ReadDoubleLE(bytes + kTimeAt),
                              bytes[kNotInDatabaseAt] != 0});
        }
    }
    return true;
}

std::vector<CallRecord> LoadCalls(const std::string& path, bool* opened) {
    struct Records final : CallSink {
        std::vector<CallRecord> calls;
        void Expect(std::size_t count) override { calls.reserve(count); }
        void Add(const CallView& call) override {
            calls.push_back(CallRecord{std::string(call.name), std::string(call.called), call.time,
                                       call.notInDatabase});
        }
    } records;
    const bool ok = ReadCalls(path, records);
    if (opened != nullptr) *opened = ok;
    return std::move(records.calls);
}

bool ReplaceCalls(const std::string& path, const std::vector<CallRecord>& records) {
    std::vector<unsigned char> bytes(records.size() * kCallRecordSize, 0);
    for (std::size_t i = 0; i < records.size(); ++i) {
        Encode(records[i], bytes.data() + i * kCallRecordSize);
    }
    return recordio::ReplaceWithBackup(path, bytes);
}

}  // namespace telvor
