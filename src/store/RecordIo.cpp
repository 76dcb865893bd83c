#include "store/RecordIo.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace telvor::recordio {

void WriteField(unsigned char* record, std::size_t offset, std::size_t capacity,
                std::string_view text) {
    const std::size_t length = text.size() < capacity ? text.size() : capacity;
    record[offset] = static_cast<unsigned char>(length);
    std::memcpy(record + offset + 1, text.data(), length);
}

void WriteDoubleLE(unsigned char* bytes, double value) {
    auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
}

FilePtr OpenFile(const std::string& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode));
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FilePtr file = OpenFile(path, "rb");
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[64 * 1024];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
        bytes.append(buffer, got);
    return bytes;
}

RecordReader::RecordReader(const std::string& path, std::size_t recordSize)
    : file_(OpenFile(path, "rb")), recordSize_(recordSize) {
    if (!file_) return;
    if (std::fseek(file_.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(file_.get());
        if (size > 0) countHint_ = static_cast<std::size_t>(size) / recordSize_;
    }
    if (std::fseek(file_.get(), 0, SEEK_SET) != 0) {
        file_.reset();
        return;
    }
    constexpr std::size_t kChunkBytes = 256 * 1024;
    buffer_.resize(recordSize_ * (kChunkBytes / recordSize_ + 1));
}

const unsigned char* RecordReader::NextBatch(std::size_t& count) {
    count = 0;
    if (!file_) return nullptr;
    // The incomplete tail of the previous read moves to the front, then the buffer fills up.
    if (carry_ > 0) std::memmove(buffer_.data(), buffer_.data() + handedOut_, carry_);
    std::size_t filled = carry_;
    while (filled < buffer_.size()) {
        const std::size_t got =
            std::fread(buffer_.data() + filled, 1, buffer_.size() - filled, file_.get());
        if (got == 0) break;
        filled += got;
    }
    count = filled / recordSize_;
    handedOut_ = count * recordSize_;
    carry_ = filled - handedOut_;
    if (count == 0) {
        file_.reset();  // end of file: what is left is a partial record, never handed out
        return nullptr;
    }
    return buffer_.data();
}

bool ReadRecordAt(const std::string& path, std::size_t index, std::size_t recordSize,
                  unsigned char* record) {
    FilePtr file = OpenFile(path, "rb");
    if (!file) return false;
    // One read of the record itself rather than a buffer's worth around it.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    // Offsets beyond 2 GiB: `long` is 32 bits wide on Windows.
    const auto offset = static_cast<std::int64_t>(index) * static_cast<std::int64_t>(recordSize);
#ifdef _WIN32
    if (_fseeki64(file.get(), offset, SEEK_SET) != 0) return false;
#else
    if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return false;
#endif
    return std::fread(record, 1, recordSize, file.get()) == recordSize;
}

std::string BackupName(const std::string& path) {
    // The extension is what follows the last dot of the file name (not of a folder name).
    const std::size_t slash = path.find_last_of("/\\:");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return path + ".bak";
    }
    return path.substr(0, dot) + ".bak";
}

std::string NewFileName(const std::string& path) {
    return path + ".new";
}

namespace {

bool Fails(const ReplaceFault& fault, ReplaceStep step) {
    return fault && fault(step);
}

// Pushes the file's data past the C library and the system's cache, so that the rename that
// follows never makes a file visible whose blocks are not yet written.
bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Writes the whole new file; on any failure removes what was written.
bool WriteNewFile(const std::string& name, const ContentPieces& content,
                  const ReplaceFault& fault) {
    FilePtr file = Fails(fault, ReplaceStep::CreateNew) ? nullptr : OpenFile(name, "wb");
    if (!file) return false;
    const bool stopHalfway = Fails(fault, ReplaceStep::WriteNew);
    bool ok = !stopHalfway;
    for (auto piece = content(); !piece.empty(); piece = content()) {
        if (stopHalfway) {
            // A write that stops halfway, as on a full disk.
            std::fwrite(piece.data(), 1, piece.size() / 2, file.get());
            break;
        }
        if (std::fwrite(piece.data(), 1, piece.size(), file.get()) != piece.size()) {
            ok = false;
            break;
        }
    }
    ok = ok && !Fails(fault, ReplaceStep::FlushNew) && FlushToDisk(file.get());
    ok = std::fclose(file.release()) == 0 && ok;
    if (!ok) std::remove(name.c_str());
    return ok;
}

// The present file also under the backup name. A hard link costs nothing and is complete at
// once; where the volume has none (FAT), a copy. A backup that cannot be made completely is
// removed rather than left half written, and the result says so.
bool KeepBackup(const std::string& path, const ReplaceFault& fault) {
    namespace fs = std::filesystem;
    const fs::path backup = BackupName(path);
    std::error_code ec;
    // A file that already is its own backup (named "x.bak", or linked there by a replace that
    // failed later) must not be removed: it may be the only copy.
    if (fs::equivalent(path, backup, ec)) return true;
    fs::remove(backup, ec);
    if (Fails(fault, ReplaceStep::KeepBackup)) return false;
    fs::create_hard_link(path, backup, ec);
    if (!ec) return true;
    if (fs::copy_file(path, backup, fs::copy_options::overwrite_existing, ec) && !ec) return true;
    fs::remove(backup, ec);
    return false;
}

}  // namespace

bool ReplaceWithBackup(const std::string& path, const std::vector<unsigned char>& bytes,
                       const ReplaceFault& fault) {
    bool handedOut = false;
    return ReplaceWithBackup(
        path,
        [&]() -> std::span<const unsigned char> {
            if (handedOut) return {};
            handedOut = true;
            return bytes;
        },
        fault);
}

bool ReplaceWithBackup(const std::string& path, const ContentPieces& content,
                       const ReplaceFault& fault) {
    namespace fs = std::filesystem;
    const std::string fresh = NewFileName(path);
    if (!WriteNewFile(fresh, content, fault)) return false;

    // Without a backup the present file is kept as it is: replacing it would leave the user's
    // previous data nowhere. A first write, with no file yet, needs none.
    std::error_code ec;
    if (fs::is_regular_file(path, ec) && !KeepBackup(path, fault)) {
        fs::remove(fresh, ec);
        return false;
    }

    // One rename puts the new file in place: POSIX rename() replaces the target atomically,
    // and on Windows the C++ library's rename is MoveFileEx with MOVEFILE_REPLACE_EXISTING.
    if (Fails(fault, ReplaceStep::SwapIn)) {
        ec = std::make_error_code(std::errc::io_error);
    } else {
        fs::rename(fresh, path, ec);
    }
    if (ec) {
        fs::remove(fresh, ec);
        return false;
    }
    return true;
}

}  // namespace telvor::recordio
