// The call list file: reading, and a write of what was read.
#include <cstring>

#include "Harnesses.h"
#include "store/CallList.h"

namespace telvor::fuzz {

void CallList(Input data) {
    const std::vector<CallRecord> calls = ParseCalls(data);
    Check(calls.size() == data.size() / kCallRecordSize, "record count");
    for (const CallRecord& c : calls) {
        Check(c.name.size() <= 255 && c.called.size() <= 127, "field longer than its room");
    }
    const std::vector<unsigned char> bytes = EncodeCalls(calls);
    const std::vector<CallRecord> again = ParseCalls(bytes);
    Check(again.size() == calls.size(), "records written");
    for (std::size_t i = 0; i < calls.size(); ++i) {
        // Bit for bit: a NaN time must survive too.
        Check(again[i].name == calls[i].name && again[i].called == calls[i].called &&
                  std::memcmp(&again[i].time, &calls[i].time, sizeof(double)) == 0 &&
                  again[i].notInDatabase == calls[i].notInDatabase,
              "record changed by a write");
        // Bytes beyond a text's length and the padding are written as zeros.
        const unsigned char* r = bytes.data() + i * kCallRecordSize;
        Check(r[393] == 0 && r[394] == 0 && r[395] == 0 && r[392] <= 1, "padding");
    }
}

}  // namespace telvor::fuzz
