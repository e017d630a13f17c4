#include "dib/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

std::optional<MappedFile> MappedFile::Open(const std::string& path) {
    // Non-blocking so that a FIFO given as the picture cannot hang the open;
    // it is refused below as not a regular file.
    const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        return std::nullopt;
    }
    struct stat status {};
    if (fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0) {
        return std::nullopt;
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    void* address = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.Get(), 0);
    if (address == MAP_FAILED) {
        return std::nullopt;
    }
    return MappedFile(static_cast<const std::uint8_t*>(address), size);
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : address_(std::exchange(other.address_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        Unmap();
        address_ = std::exchange(other.address_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

MappedFile::~MappedFile() { Unmap(); }

void MappedFile::Unmap() noexcept {
    if (address_ != nullptr) {
        munmap(const_cast<std::uint8_t*>(address_), size_);
        address_ = nullptr;
        size_ = 0;
    }
}
