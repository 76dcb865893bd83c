#include "store/RecordIo.h"

#include <bit>
#include <cstdio>
#include <cstring>

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

std::string BackupName(const std::string& path) {
    // The extension is what follows the last dot of the file name (not of a folder name).
    const std::size_t slash = path.find_last_of("/\\:");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return path + ".bak";
    }
    return path.substr(0, dot) + ".bak";
}

bool ReplaceWithBackup(const std::string& path, const std::vector<unsigned char>& bytes) {
    if (OpenFile(path, "rb")) {
        const std::string backup = BackupName(path);
        std::remove(backup.c_str());
        // When the move fails the file is rewritten in place below: stored, but no backup.
        std::rename(path.c_str(), backup.c_str());
    }
    FilePtr file = OpenFile(path, "wb");
    if (!file) return false;
    bool ok =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    ok = std::fflush(file.get()) == 0 && ok;
    ok = std::fclose(file.release()) == 0 && ok;
    return ok;
}

}  // namespace telvor::recordio
