#include "dib/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

namespace {

// Closes the descriptor on every way out of Open; the mapping outlives it.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

std::nullopt_t Fail(DibRefusal* failure, std::string_view why) {
    if (failure != nullptr) {
        *failure = {DibError::kOpenFailed, std::string(why)};
    }
    return std::nullopt;
}

// A file that cannot be had for want of memory is not a file that cannot be
// opened: the kernel says ENOMEM when the mapping, or the open itself, finds
// no room (an address-space limit, say).
std::nullopt_t FailWithErrno(DibRefusal* failure, int error) {
    char buffer[256];
    Fail(failure, strerror_r(error, buffer, sizeof buffer));
    if (failure != nullptr && error == ENOMEM) {
        failure->error = DibError::kOutOfMemory;
    }
    return std::nullopt;
}

}  // namespace

std::optional<MappedFile> MappedFile::Open(const std::string& path, DibRefusal* failure) {
    // Non-blocking so that a FIFO given as the picture cannot hang the open;
    // it is refused below as not a regular file.
    const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        return FailWithErrno(failure, errno);
    }
    struct stat status {};
    if (fstat(fd.Get(), &status) != 0) {
        return FailWithErrno(failure, errno);
    }
    if (S_ISDIR(status.st_mode)) {
        return FailWithErrno(failure, EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        return Fail(failure, "not a regular file");
    }
    if (status.st_size <= 0) {
        return Fail(failure, "empty file");
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    void* address = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.Get(), 0);
    if (address == MAP_FAILED) {
        return FailWithErrno(failure, errno);
    }
    try {
        return MappedFile(static_cast<const std::uint8_t*>(address), size);
    } catch (const std::bad_alloc&) {
        munmap(address, size);
        return FailWithErrno(failure, ENOMEM);
    }
}

MappedFile::MappedFile(const std::uint8_t* address, std::size_t size)
    : address_(address), size_(size), watch_(std::make_unique<ShrinkWatch>(address, size)) {}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : address_(std::exchange(other.address_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      watch_(std::move(other.watch_)) {}

MappedFile::~MappedFile() { Unmap(); }

void MappedFile::Unmap() noexcept {
    // The watch goes first: once the pages are unmapped, their addresses may
    // soon hold something that is not ours to map zeros over.
    watch_.reset();
    if (address_ != nullptr) {
        munmap(const_cast<std::uint8_t*>(address_), size_);
        address_ = nullptr;
        size_ = 0;
    }
}
