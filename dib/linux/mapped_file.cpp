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

#include "dib/linux/shrink_watch.h"
#include "dib/utf16.h"

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

// The pages, then the watch over them: members go in the reverse order, and
// the watch must go first, since once the pages are unmapped their addresses
// may soon hold something that is not ours to map zeros over.
struct MappedFile::Mapping {
    struct Pages {
        const std::uint8_t* address;
        std::size_t size;
        ~Pages() { munmap(const_cast<std::uint8_t*>(address), size); }
    };

    Mapping(const std::uint8_t* address, std::size_t size) : pages{address, size}, watch(address, size) {}

    Pages pages;
    ShrinkWatch watch;
};

std::optional<MappedFile> MappedFile::Open(const std::string& name, DibRefusal* failure) {
    // Non-blocking so that a FIFO given as the picture cannot hang the open;
    // it is refused below as not a regular file.
    const FileDescriptor fd(open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
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
        return MappedFile(std::make_unique<Mapping>(static_cast<const std::uint8_t*>(address), size));
    } catch (const std::bad_alloc&) {
        munmap(address, size);
        return FailWithErrno(failure, ENOMEM);
    }
}

// Linux opens files by bytes: the name as UTF-8.
std::optional<MappedFile> MappedFile::OpenWide(const char16_t* name, DibRefusal* failure) {
    return Open(Utf16ToUtf8(name), failure);
}

std::string MappedFile::ShownName(const char16_t* name) {
    return Utf16ToUtf8(name);
}

MappedFile::MappedFile(std::unique_ptr<Mapping> mapping) : mapping_(std::move(mapping)) {}

MappedFile::MappedFile(MappedFile&& other) noexcept = default;

MappedFile::~MappedFile() = default;

std::span<const std::uint8_t> MappedFile::Bytes() const {
    return {mapping_->pages.address, mapping_->pages.size};
}

bool MappedFile::Shrank() const {
    return mapping_->watch.Shrank();
}
