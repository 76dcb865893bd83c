#pragma once
// Shared plumbing of the two record files: length-prefixed text fields inside fixed-size
// records, little-endian doubles, whole-file writes that keep one ".bak" generation, and a
// chunked reader that hands out whole records without allocating per record.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvor::recordio {

// A text field: one length byte at `offset`, then `capacity` bytes. A length byte larger than
// the field (garbage or a foreign writer) is clamped so nothing outside the field is read.
inline std::string_view ReadField(const unsigned char* record, std::size_t offset,
                                  std::size_t capacity) {
    std::size_t length = record[offset];
    if (length > capacity) length = capacity;
    return {reinterpret_cast<const char*>(record + offset + 1), length};
}

// Writes at most `capacity` bytes of `text`; the bytes after it keep what the caller cleared
// them to (our writers start from a zeroed record).
void WriteField(unsigned char* record, std::size_t offset, std::size_t capacity,
                std::string_view text);

inline double ReadDoubleLE(const unsigned char* bytes) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | bytes[i];
    return std::bit_cast<double>(bits);
}
void WriteDoubleLE(unsigned char* bytes, double value);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenFile(const std::string& path, const char* mode);
// The whole file's bytes; nothing when it cannot be opened for reading.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Reads a file of fixed-size records chunk by chunk; a trailing partial record is never
// handed out. The buffer is allocated once per reader.
class RecordReader {
  public:
    // Reads about 256 KiB at a time.
    RecordReader(const std::string& path, std::size_t recordSize);
    bool Opened() const { return file_ != nullptr; }
    // Whole records in the file, as far as its size could be determined (0 if not).
    std::size_t RecordCountHint() const { return countHint_; }
    // The next batch of whole records; count == 0 at the end of the file or on a read error.
    const unsigned char* NextBatch(std::size_t& count);

  private:
    FilePtr file_;
    std::size_t recordSize_;
    std::vector<unsigned char> buffer_;
    std::size_t handedOut_ = 0;  // bytes of whole records handed out by the last batch
    std::size_t carry_ = 0;      // bytes of an incomplete record kept from the last read
    std::size_t countHint_ = 0;
};

// Reads record number `index` of a file of `recordSize`-byte records into `record`. False when
// the file cannot be opened or ends before the record does.
bool ReadRecordAt(const std::string& path, std::size_t index, std::size_t recordSize,
                  unsigned char* record);

// "x.ddb" -> "x.bak"; a name without extension gets ".bak" appended.
std::string BackupName(const std::string& path);

// The steps of a whole-file replace, in order. Each is a point where the work can stop (a
// crash, a full disk, a locked file); tests name them to make one fail.
enum class ReplaceStep {
    CreateNew,   // create the new file beside the old one
    WriteNew,    // write the bytes to it
    FlushNew,    // flush it to the disk and close it
    KeepBackup,  // the present file also becomes the ".bak" (hard link, else a copy)
    SwapIn,      // the new file takes the place of the old in one rename
};
// Asked before each step; true makes that step fail. Empty: nothing fails.
using ReplaceFault = std::function<bool(ReplaceStep)>;

// The name the new content is written under before it replaces `path`: same folder, so the
// final rename never crosses a volume.
std::string NewFileName(const std::string& path);

// Writes `bytes` as the new content of `path` and keeps the present file as its ".bak"
// (replacing an older one). At every moment `path` holds either the complete old or the
// complete new content, and the ".bak" is never the only copy of the data. Where the ".bak"
// cannot be made (neither a link nor a copy), the present file is not replaced and the
// write fails; a first write, with no present file, needs no backup. Returns true only when
// the new content is in place; on false, `path` is untouched and no new file is left behind.
bool ReplaceWithBackup(const std::string& path, const std::vector<unsigned char>& bytes,
                       const ReplaceFault& fault = {});

// The same with the new content handed out piece by piece: each call returns the next piece
// (valid until the next call), an empty one at the end. A large file is then encoded in a
// small buffer instead of being built whole in memory first.
using ContentPieces = std::function<std::span<const unsigned char>()>;
bool ReplaceWithBackup(const std::string& path, const ContentPieces& content,
                       const ReplaceFault& fault = {});

}  // namespace telvor::recordio
