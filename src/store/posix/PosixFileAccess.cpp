#include "store/posix/PosixFileAccess.h"

#include <ctime>
#include <fcntl.h>
#include <numeric>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telvor {
namespace {

std::int64_t Nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

class Mapping {
  public:
    Mapping(int fd, std::size_t offset, std::size_t length) : length_(length) {
        int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
        flags |= MAP_POPULATE;  // the pages in one go rather than one fault at a time
#endif
        void* at = mmap(nullptr, length, PROT_READ, flags, fd, static_cast<off_t>(offset));
        if (at != MAP_FAILED) data_ = static_cast<const unsigned char*>(at);
    }
    ~Mapping() {
        if (data_ != nullptr) munmap(const_cast<unsigned char*>(data_), length_);
    }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    const unsigned char* data() const {
        return data_;
    }

  private:
    const unsigned char* data_ = nullptr;
    std::size_t length_;
};

}  // namespace

FileIdentity PosixFileAccess::Identify(const std::string& path) const {
    FileIdentity identity;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return identity;
    identity.exists = true;
    identity.size = static_cast<std::uint64_t>(info.st_size);
    identity.writeTime = Nanoseconds(info.st_mtim);
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    identity.settled =
        identity.writeTime < Nanoseconds(now) - std::int64_t{kSettleSeconds} * 1'000'000'000;
    return identity;
}

bool PosixFileAccess::ReadRecords(const std::string& path, std::size_t recordSize,
                                  const RecordSink& take) const {
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || fstat(file.get(), &info) != 0) return false;
    const std::size_t whole = static_cast<std::size_t>(info.st_size) / recordSize * recordSize;
    // Views that begin on a page and end on a record, so no record is cut in two.
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t view = std::lcm(page, recordSize) * 256;
    for (std::size_t offset = 0; offset < whole; offset += view) {
        const std::size_t length = whole - offset < view ? whole - offset : view;
        const Mapping mapping(file.get(), offset, length);
        if (mapping.data() == nullptr) return false;
        take({mapping.data(), length});
    }
    return true;
}

}  // namespace telvor
