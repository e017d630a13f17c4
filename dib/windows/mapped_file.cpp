#include "dib/mapped_file.h"

#include <windows.h>

#include <string>
#include <utility>

#include "dib/windows/page_error_watch.h"

namespace {

// A handle, closed when it goes.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&&) = delete;
    ~Handle() {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
    }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

std::nullopt_t Fail(DibRefusal* failure, DWORD error) {
    if (failure == nullptr) {
        return std::nullopt;
    }
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) {
        reason.pop_back();
    }
    // A file that cannot be had for want of memory is no file that cannot be
    // opened: in a 32-bit address space a view finds no room long before a
    // file is too large to open.
    const bool noMemory =
        error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY || error == ERROR_COMMITMENT_LIMIT;
    *failure = {noMemory ? DibError::kOutOfMemory : DibError::kOpenFailed,
                reason.empty() ? "system error " + std::to_string(error) : reason};
    return std::nullopt;
}

}  // namespace

// Released in the reverse order of their making: the view, the mapping, the file.
struct MappedFile::Mapping {
    Mapping(Handle&& fileHandle, Handle&& mappingHandle, const void* view, std::size_t size)
        : file(std::move(fileHandle)), mapping(std::move(mappingHandle)), watch(view, size) {}

    Handle file;
    Handle mapping;
    PageErrorWatch watch;
};

namespace {

// The whole of the file just opened, read-only.
std::optional<MappedFile> MapWhole(HANDLE opened, DibRefusal* failure) {
    Handle file(opened);
    if (file.Get() == nullptr) {
        return Fail(failure, GetLastError());
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) == 0) {
        return Fail(failure, GetLastError());
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX) {
        return Fail(failure, ERROR_NOT_ENOUGH_MEMORY);  // more than the address space holds
    }
    // An empty file cannot be mapped: this fails for it.
    Handle mapping(CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (mapping.Get() == nullptr) {
        return Fail(failure, GetLastError());
    }
    const void* view = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0);
    if (view == nullptr) {
        return Fail(failure, GetLastError());
    }
    try {
        return MappedFile(std::make_unique<MappedFile::Mapping>(std::move(file), std::move(mapping), view,
                                                                static_cast<std::size_t>(size.QuadPart)));
    } catch (const std::bad_alloc&) {
        UnmapViewOfFile(view);
        return Fail(failure, ERROR_NOT_ENOUGH_MEMORY);
    }
}

}  // namespace

std::optional<MappedFile> MappedFile::Open(const std::string& name, DibRefusal* failure) {
    return MapWhole(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
                    failure);
}

std::optional<MappedFile> MappedFile::OpenWide(const char16_t* name, DibRefusal* failure) {
    return MapWhole(CreateFileW(reinterpret_cast<const wchar_t*>(name), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr),
                    failure);
}

// As "%ws" prints it: in the ANSI code page, which is what the box shows.
std::string MappedFile::ShownName(const char16_t* name) {
    const auto* wide = reinterpret_cast<const wchar_t*>(name);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string shown(bytes > 0 ? bytes : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, shown.data(), bytes, nullptr, nullptr);
    shown.resize(shown.size() - 1);
    return shown;
}

MappedFile::MappedFile(std::unique_ptr<Mapping> mapping) : mapping_(std::move(mapping)) {}

MappedFile::MappedFile(MappedFile&& other) noexcept = default;

MappedFile::~MappedFile() = default;

std::span<const std::uint8_t> MappedFile::Bytes() const {
    return {mapping_->watch.Address(), mapping_->watch.Size()};
}

bool MappedFile::Shrank() const {
    return mapping_->watch.Shrank();
}
