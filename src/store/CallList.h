#pragma once
// The call list file: a plain sequence of 396-byte records (Calls.ddb).
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

constexpr std::size_t kCallRecordSize = 396;

struct CallRecord {
    std::string name;    // at most 255: caller name, or the number as shown when unknown
    std::string called;  // at most 127: the MSN as shown
    double time = 0;     // days since 30 December 1899, fraction = time of day
    bool notInDatabase = false;
};

// A missing file is created (the first recorded calls would otherwise be lost until the
// configuration dialog writes the list): Created. Failed when it cannot be opened or written.
enum class AppendResult { Written, Created, Failed };

AppendResult AppendCall(const std::string& path, const CallRecord& record);

// One record as read, its texts pointing into the reader's buffer: valid only during the call
// that hands it out.
struct CallView {
    std::string_view name;
    std::string_view called;
    double time = 0;
    bool notInDatabase = false;
};

// Receives the records of ReadCalls: first how many the file holds (as far as its size tells),
// then each record in file order.
class CallSink {
  public:
    virtual ~CallSink() = default;
    virtual void Expect(std::size_t /*count*/) {}
    virtual void Add(const CallView& call) = 0;
};

// Reads the file record by record without copying a text, for a list that keeps the calls in
// its own rows. Returns false when the file could not be opened (then nothing is handed out).
bool ReadCalls(const std::string& path, CallSink& sink);

std::vector<CallRecord> LoadCalls(const std::string& path, bool* opened = nullptr);
bool ReplaceCalls(const std::string& path, const std::vector<CallRecord>& records);

// The records to write, by index, without copying their texts: for a list that keeps the
// calls in its own rows. A record's texts stay valid until the next At.
class CallSource {
  public:
    virtual ~CallSource() = default;
    virtual std::size_t Count() const = 0;
    virtual CallView At(std::size_t index) const = 0;
};

// A CallSource over records in memory.
class CallRecordSource final : public CallSource {
  public:
    explicit CallRecordSource(const std::vector<CallRecord>& records) : records_(records) {}
    std::size_t Count() const override { return records_.size(); }
    CallView At(std::size_t index) const override;

  private:
    const std::vector<CallRecord>& records_;
};

// Writes the calls as a new file, keeping the previous one as ".bak" (texts cut to their
// fields). The records are encoded a batch at a time straight from the source. Returns false
// when the file could not be written.
bool ReplaceCalls(const std::string& path, const CallSource& calls);

// The reader and the writer's encoding on bytes in memory (whole records only); the file
// functions use the same code.
std::vector<CallRecord> ParseCalls(std::span<const unsigned char> bytes);
std::vector<unsigned char> EncodeCalls(const std::vector<CallRecord>& records);

}  // namespace telvor
